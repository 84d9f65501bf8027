#pragma once
#include <CLI/CLI.hpp>

#include <string>

// The end of every subcommand's help: what scripts may rely on, and one line to start from.
inline void AddHelpFooter(CLI::App& command, const std::string& example) {
    command.footer("Exit codes: 0 done, 1 the work failed (a file missing or refused, a module not reached), "
                   "2 a wrong command line.\nExample:\n  " + example);
}
