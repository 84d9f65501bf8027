#include "frame_fixture.h"

#include <commctrl.h>

#include "frame/link_settings_registry.h"

namespace {

PortReader& FarEnd() {
    static PortReader reader("COM4");
    return reader;
}

void DropQuit() {
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

// Files left by an earlier run in the same prefix would turn a save into an overwrite question.
void EmptyFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

void DeleteSettingsKey() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSettingsKey); }

void StoreSetting(const char* name, DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

StoredValue ReadSetting(const char* name) {
    StoredValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
    char data[512] = {};
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS) {
        value.bytes.assign(data, size);
    }
    RegCloseKey(key);
    return value;
}

void FrameTest::SetUp() {
    DropQuit();
    DeleteSettingsKey();
    ASSERT_TRUE(FarEnd().IsOpen());
    FarEnd().Drain(100);
    ASSERT_TRUE(registry_.Register(GetCurrentThreadId(), loop_));
    gAppModule.loopRegistry = &registry_;
    guard_ = std::make_unique<DialogDriver>(std::vector<DialogDriver::Action>{}, 60000);

    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    scratch_ = std::string(temp) + "brevant-frame-" +
               testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
    CreateDirectoryA(scratch_.c_str(), nullptr);
    EmptyFolder(scratch_);
    SetCurrentDirectoryA(scratch_.c_str());
}

void FrameTest::TearDown() {
    Close();
    EXPECT_FALSE(guard_->TimedOut()) << "a dialog stayed open";
    guard_.reset();
    registry_.Unregister(GetCurrentThreadId());
    gAppModule.loopRegistry = nullptr;
    SetCurrentDirectoryA("C:\\");
}

void FrameTest::Start(const CommApi& comm) {
    BYTE keys[256] = {};
    SetKeyboardState(keys);
    frame_ = std::make_unique<MainFrame>(comm);
    ASSERT_NE(frame_->Create(), nullptr);
    ShowWindow(Frame(), SW_SHOW);
    UpdateWindow(Frame());
    Pump();
}

void FrameTest::Close() {
    if (frame_ != nullptr && Frame() != nullptr) DestroyWindow(Frame());
    Pump();
    DropQuit();
}

void FrameTest::Command(WORD id) {
    SendMessageA(Frame(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    Pump();
}

void FrameTest::Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::vector<uint8_t> FrameTest::Sent() { return FarEnd().Drain(300); }

std::string FrameTest::ScratchPath(const char* name) const { return scratch_ + name; }

std::string FrameTest::StatusText() const {
    char text[256] = {};
    SendMessageA(frame_->StatusBar(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string FrameTest::StatusPart(int part) const {
    char text[512] = {};
    if (LOWORD(SendMessageA(frame_->StatusBar(), SB_GETTEXTLENGTHA, part, 0)) >= sizeof text) return "(too long)";
    SendMessageA(frame_->StatusBar(), SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
    return text;
}

bool FrameTest::StatusIsSimple() const { return SendMessageA(frame_->StatusBar(), SB_ISSIMPLE, 0, 0) != FALSE; }
