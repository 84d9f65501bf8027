#include "frame/start_screen_io.h"

#include <windows.h>

#include <cstdio>

#include "document/start_screen_file.h"
#include "link/serial_channel.h"

namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    bool Close() {
        if (!Valid()) return true;
        const bool closed = CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

size_t ReadUpTo(HANDLE file, uint8_t* buffer, size_t capacity) {
    size_t total = 0;
    while (total < capacity) {
        DWORD got = 0;
        if (!ReadFile(file, buffer + total, static_cast<DWORD>(capacity - total), &got, nullptr) || got == 0) break;
        total += got;
    }
    return total;
}

void ShowSystemError(DocumentHost& host, const char* path, DWORD error) {
    char reason[256] = {};
    SystemErrorText(error, reason, sizeof reason);
    char text[kFileNameCapacity + sizeof reason + 64];
    std::snprintf(text, sizeof text, "The start screen could not be saved to\n%s\n\n%s.", path, reason);
    host.ShowMessage(text, "Error saving");
}

// The new file is written beside the target first, so a failure leaves the old file as it was.
bool MakeTemporaryBeside(const char* path, char (&temporary)[MAX_PATH]) {
    char folder[MAX_PATH] = {};
    char* namePart = nullptr;
    if (GetFullPathNameA(path, MAX_PATH, folder, &namePart) == 0 || namePart == nullptr) return false;
    *namePart = '\0';
    return GetTempFileNameA(folder, "kss", 0, temporary) != 0;
}

DWORD WriteWhole(const char* path, const uint8_t* bytes, DWORD count) {
    FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return GetLastError();
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes, count, &written, nullptr)) return GetLastError();
    if (written != count) return ERROR_WRITE_FAULT;
    if (!FlushFileBuffers(file.Get())) return GetLastError();
    if (!file.Close()) return GetLastError();
    return ERROR_SUCCESS;
}

}  // namespace

void LoadStartScreen(ScreenDocument& doc, DocumentHost& host) {
    try {
        FileHandle file(CreateFileA(doc.fileName.data(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) {
            char code[16];
            std::snprintf(code, sizeof code, "%.8lx", static_cast<unsigned long>(GetLastError()));
            host.ShowMessage(code, doc.fileName.data());
        } else {
            StartScreenBytes bytes{};
            const size_t size = ReadUpTo(file.Get(), bytes.data(), bytes.size());
            const LoadOutcome outcome = ReadStartScreen(doc, bytes.data(), size);
            host.ResizeForGeometry();
            if (outcome == LoadOutcome::TextShort) host.ShowMessage("Error loading", "");
        }
    } catch (...) {
        // The capital L tells a support call a failure of the program from a short file.
        host.ShowMessage("Error Loading", "");
    }
    host.RedrawFrame();
    host.MirrorScreen();
}

bool SaveStartScreen(const ScreenDocument& doc, DocumentHost& host) {
    const char* path = doc.fileName.data();
    StartScreenBytes bytes{};
    const DWORD size = static_cast<DWORD>(WriteStartScreen(doc, bytes));

    // Replacing by rename would bypass the read-only attribute, which the user set for a reason.
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        ShowSystemError(host, path, ERROR_ACCESS_DENIED);
        return false;
    }
    char temporary[MAX_PATH] = {};
    if (!MakeTemporaryBeside(path, temporary)) {
        ShowSystemError(host, path, GetLastError());
        return false;
    }
    DWORD error = WriteWhole(temporary, bytes.data(), size);
    if (error == ERROR_SUCCESS &&
        !MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
    }
    if (error == ERROR_SUCCESS) return true;
    DeleteFileA(temporary);
    ShowSystemError(host, path, error);
    return false;
}
