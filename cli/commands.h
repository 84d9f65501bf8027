#pragma once
#include <CLI/CLI.hpp>

// One file per subcommand; each adds itself, its options and the function that runs it.
void AddNewCommand(CLI::App& app);
