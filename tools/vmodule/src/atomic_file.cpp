#include "tools/vmodule/src/atomic_file.h"

#include <fstream>
#include <string>
#include <system_error>

#include <unistd.h>

namespace vmodule {

namespace {

bool WriteWholeFile(const std::filesystem::path& path, std::string_view content) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(content.data(), static_cast<std::streamsize>(content.size()));
    file.close();
    return !file.fail();
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view content) {
    std::filesystem::path temporary = path;
    temporary += ".tmp" + std::to_string(getpid());
    std::error_code error;
    if (WriteWholeFile(temporary, content)) {
        std::filesystem::rename(temporary, path, error);
        if (!error) return true;
    }
    std::filesystem::remove(temporary, error);
    return false;
}

}  // namespace vmodule
