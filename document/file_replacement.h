#pragma once
#include <string>
#include <string_view>

// Writes the bytes to a temporary file beside the target and renames it over the target: a
// reader sees the old content or the new, never a part, and a failure leaves the target as it
// was. False with what failed and the system's reason ("cannot create: Permission denied").
bool WriteFileReplacing(const std::string& path, std::string_view bytes, std::string& reason);
