#include "formats/serial_stamp.h"

namespace {

std::string Numbered(const std::string& first, size_t index) {
    std::string digits = std::to_string(std::stoull(first) + index);
    if (digits.size() < first.size()) digits.insert(0, first.size() - digits.size(), '0');
    return digits;
}

}  // namespace

bool HoldsSerial(const std::string& line) {
    const size_t equals = line.find('=');
    return equals != std::string::npos && line.find(kSerialField, equals + 1) != std::string::npos;
}

std::vector<std::string> LinesForModule(const std::vector<std::string>& lines, const std::string& first,
                                        size_t index) {
    if (first.empty()) return lines;
    const std::string serial = Numbered(first, index);
    std::vector<std::string> stamped;
    for (std::string line : lines) {
        const size_t equals = line.find('=');
        for (size_t at = equals == std::string::npos ? std::string::npos : line.find(kSerialField, equals + 1);
             at != std::string::npos; at = line.find(kSerialField, at + serial.size())) {
            line.replace(at, sizeof kSerialField - 1, serial);
        }
        stamped.push_back(line);
    }
    return stamped;
}
