#pragma once
#include <CLI/CLI.hpp>

#include <algorithm>
#include <string>

// Checked before the option's text is converted, so a typo is named in our words.
inline const CLI::Validator kWholeNumber(
    [](std::string& text) {
        const bool digits = !text.empty() && text.size() <= 9 &&
                            std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
        return digits ? std::string() : std::string("expected a whole number");
    },
    "NUMBER");
