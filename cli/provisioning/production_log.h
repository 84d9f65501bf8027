#pragma once
#include <cstdio>
#include <string>

// The production record: opened for appending before any module is touched, so a log that
// cannot be written stops the run before it starts; each run's lines go out in one write.
class ProductionLog {
public:
    explicit ProductionLog(const std::string& path);
    ~ProductionLog();
    ProductionLog(const ProductionLog&) = delete;
    ProductionLog& operator=(const ProductionLog&) = delete;

    void Append(const std::string& lines);

private:
    std::string path_;
    std::FILE* file_ = nullptr;
};
