#include "cli_run.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace {

std::string Quoted(const std::string& argument) {
    std::string quoted = "'";
    for (char c : argument) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

CliResult RunCli(const std::vector<std::string>& arguments) {
    ScratchFolder streams;
    std::string command = Quoted(BREVANT_CLI);
    for (const std::string& argument : arguments) command += " " + Quoted(argument);
    command += " >" + Quoted(streams.Path("out")) + " 2>" + Quoted(streams.Path("err"));
    const int status = std::system(command.c_str());
    CliResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadText(streams.Path("out"));
    result.err = ReadText(streams.Path("err"));
    return result;
}

ScratchFolder::ScratchFolder() {
    std::random_device random;
    root_ = std::filesystem::temp_directory_path() / ("brevant-cli-test-" + std::to_string(random()));
    std::filesystem::create_directories(root_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::vector<std::string> ScratchFolder::Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(root_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<uint8_t> ScreenFile(uint32_t header, const std::vector<uint8_t>& characters, const std::string& text) {
    std::vector<uint8_t> file;
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(header >> (8 * i)));
    file.insert(file.end(), characters.begin(), characters.end());
    file.resize(4 + 448, 0);
    file.insert(file.end(), text.begin(), text.end());
    return file;
}
