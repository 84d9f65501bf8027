#include "document/file_replacement.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

// Unique per call, so that threads and processes writing beside one target never share one.
std::string TemporaryBeside(const std::string& path) {
    std::random_device random;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
    return path + suffix;
}

}  // namespace

bool WriteFileReplacing(const std::string& path, std::string_view bytes, std::string& reason) {
    const std::string temporary = TemporaryBeside(path);
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) {
        reason = std::string("cannot create: ") + std::strerror(errno);
        return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        reason = std::string("cannot write: ") + std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        reason = "cannot replace: " + error.message();
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
