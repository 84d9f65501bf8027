#include "formats/serial_stamp.h"

namespace {

std::string Padded(uint64_t number, size_t width) {
    std::string digits = std::to_string(number);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

std::vector<std::string> Stamped(const std::vector<std::string>& lines, const std::string& serial) {
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

}  // namespace

bool HoldsSerial(const std::string& line) {
    const size_t equals = line.find('=');
    return equals != std::string::npos && line.find(kSerialField, equals + 1) != std::string::npos;
}

std::vector<std::string> LinesForModule(const std::vector<std::string>& lines, const std::string& first,
                                        size_t index) {
    if (first.empty()) return lines;
    return Stamped(lines, Padded(std::stoull(first) + index, first.size()));
}

std::vector<std::string> LinesWithSerial(const std::vector<std::string>& lines, uint64_t serial, size_t width) {
    return Stamped(lines, Padded(serial, width));
}
