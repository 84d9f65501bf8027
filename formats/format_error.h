#pragma once
#include <stdexcept>

// A screen's other form that cannot be read or made; the message names the source and the fault.
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
