#include "cli/support/file_access.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/support/command_failure.h"
#include "cli/support/terminal.h"
#include "document/file_replacement.h"

namespace {

std::string Reason() { return std::strerror(errno); }

}  // namespace

namespace {

std::vector<uint8_t> ReadStandardInput() {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    std::vector<uint8_t> bytes(kMaxInputBytes + 1);
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), stdin);
    if (std::ferror(stdin)) throw CommandFailure("standard input: cannot read: " + Reason());
    bytes.resize(got);
    if (bytes.size() > kMaxInputBytes) throw CommandFailure("standard input: larger than 1 MiB, refused");
    return bytes;
}

}  // namespace

std::vector<uint8_t> ReadInputFile(const std::string& path) {
    if (path == kStandardStream) return ReadStandardInput();
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) throw CommandFailure(path + ": is a folder, not a file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw CommandFailure(path + ": cannot open: " + Reason());
    std::vector<uint8_t> bytes(kMaxInputBytes + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) throw CommandFailure(path + ": cannot read: " + Reason());
    bytes.resize(static_cast<size_t>(in.gcount()));
    if (bytes.size() > kMaxInputBytes) throw CommandFailure(path + ": larger than 1 MiB, refused");
    return bytes;
}

void CheckOutputTarget(const std::string& path) {
    if (path.empty() && StdoutIsTerminal()) {
        throw UsageFailure("-o FILE is needed: standard output is a terminal (-o - writes to it all the same)");
    }
}

void WriteOutputFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    CheckOutputTarget(path);
    if (path.empty() || path == kStandardStream) return WriteOutput("", bytes);
    std::string reason;
    const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!WriteFileReplacing(path, content, reason)) throw CommandFailure(path + ": " + reason);
}

void WriteOutput(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (!path.empty() && path != kStandardStream) return WriteOutputFile(path, bytes);
#ifdef _WIN32
    // One write for all of it: the C library hands an unbuffered console one byte at a time, and a
    // console shows the pieces of a UTF-8 character as garbage.
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
    for (size_t done = 0; done < bytes.size();) {
        const unsigned chunk = static_cast<unsigned>(std::min<size_t>(bytes.size() - done, 1u << 30));
        const int written = _write(_fileno(stdout), bytes.data() + done, chunk);
        if (written <= 0) throw CommandFailure("standard output: cannot write: " + Reason());
        done += static_cast<size_t>(written);
    }
#else
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
        throw CommandFailure("standard output: cannot write: " + Reason());
    }
#endif
}

void WriteOutput(const std::string& path, const std::string& text) {
    WriteOutput(path, std::vector<uint8_t>(text.begin(), text.end()));
}
