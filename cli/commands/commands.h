#pragma once
#include <CLI/CLI.hpp>

// One file per subcommand; each adds itself, its options and the function that runs it.
void AddInfoCommand(CLI::App& app);
void AddExportCommand(CLI::App& app);
void AddImportCommand(CLI::App& app);
void AddNewCommand(CLI::App& app);
void AddShowCommand(CLI::App& app);
void AddRenderCommand(CLI::App& app);
void AddLogoCommand(CLI::App& app);
void AddMirrorCommand(CLI::App& app);
void AddStoreCommand(CLI::App& app);
void AddRecordsCommand(CLI::App& app);
