#pragma once

#include <filesystem>
#include <string>

namespace vmodule::testing {

// A fresh directory under the system's temporary directory, removed with its content.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace vmodule::testing
