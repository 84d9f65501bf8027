#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The built program run as a script runs it: exit code, standard output and error as bytes.
struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

CliResult RunCli(const std::vector<std::string>& arguments);

// A fresh folder for one test, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Path(const std::string& name) const { return (root_ / name).string(); }
    // Every name in the folder, to see that a refusal left nothing behind.
    std::vector<std::string> Names() const;

private:
    std::filesystem::path root_;
};

std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::string ReadText(const std::string& path);

// File bytes written out by hand: the four header bytes, 448 character bytes, then the text.
std::vector<uint8_t> ScreenFile(uint32_t header, const std::vector<uint8_t>& characters, const std::string& text);
