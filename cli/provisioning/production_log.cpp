#include "cli/provisioning/production_log.h"

#include <cerrno>
#include <cstring>

#include "cli/support/command_failure.h"

ProductionLog::ProductionLog(const std::string& path) : path_(path) {
    if (path.empty()) return;
    file_ = std::fopen(path.c_str(), "ab");
    if (file_ == nullptr) throw CommandFailure(path + ": cannot open the log: " + std::strerror(errno));
}

ProductionLog::~ProductionLog() {
    if (file_ != nullptr) std::fclose(file_);
}

void ProductionLog::Append(const std::string& lines) {
    if (file_ == nullptr) return;
    // Buffered as one block: another run appending to the same log cannot split a line.
    std::setvbuf(file_, nullptr, _IOFBF, lines.size() + 1);
    if (std::fwrite(lines.data(), 1, lines.size(), file_) != lines.size() || std::fflush(file_) != 0) {
        throw CommandFailure(path_ + ": cannot write the log: " + std::strerror(errno));
    }
}
