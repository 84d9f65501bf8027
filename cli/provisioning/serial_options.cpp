#include "cli/provisioning/serial_options.h"

#include <algorithm>

#include "cli/support/command_failure.h"
#include "formats/serial_stamp.h"

namespace {

constexpr size_t kMaxSerialDigits = 18;

}  // namespace

void CheckSerialOptions(const std::vector<std::string>& lines, const std::string& first, bool fromRecords) {
    const bool numbered = std::any_of(lines.begin(), lines.end(), HoldsSerial);
    if (first.empty()) {
        if (numbered && !fromRecords) throw UsageFailure("--line with {serial} needs --serial-from N (or --records DB)");
        return;
    }
    if (first.size() > kMaxSerialDigits || !std::all_of(first.begin(), first.end(), [](char c) {
            return c >= '0' && c <= '9';
        })) {
        throw UsageFailure("--serial-from " + first + ": expected a number of at most 18 digits");
    }
    if (!numbered) throw UsageFailure("--serial-from " + first + ": no --line holds {serial}");
}
