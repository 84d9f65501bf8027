#pragma once
#include <string>
#include <vector>

// Usage errors: {serial} without --serial-from, --serial-from with nothing to number, a first
// number that is not one.
// With production records the numbers come from them, and --serial-from only starts a new series.
void CheckSerialOptions(const std::vector<std::string>& lines, const std::string& first, bool fromRecords = false);
