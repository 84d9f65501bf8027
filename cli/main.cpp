#include <cstdio>
#include <exception>
#include <string>

#include "brevant_version.h"
#include "cli/commands/commands.h"
#include "cli/support/help_text.h"
#include "cli/support/terminal.h"
#include "cli/support/command_failure.h"

int main(int argc, char** argv) {
    const Utf8Console console;
    CLI::App app{"brevant-cli: inspect, convert, render and create start screens of character LCD modules",
                 "brevant-cli"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "brevant-cli " BREVANT_VERSION);
    AddHelpFooter(app, "brevant-cli info examples/shop-2x16.kss   (brevant-cli SUBCOMMAND --help says more)");
    // The same command line on every system: a path like /tmp/a.kss is never an option.
    app.allow_windows_style_options(false);
    AddInfoCommand(app);
    AddExportCommand(app);
    AddImportCommand(app);
    AddNewCommand(app);
    AddShowCommand(app);
    AddRenderCommand(app);
    AddLogoCommand(app);
    AddMirrorCommand(app);
    AddStoreCommand(app);
    AddRecordsCommand(app);
    std::string names;
    bool known = false;
    for (const CLI::App* command : app.get_subcommands({})) {
        names += (names.empty() ? "" : ", ") + command->get_name();
        known = known || (argc > 1 && command->get_name() == argv[1]);
    }
    if (argc > 1 && argv[1][0] != '-' && !known) {
        std::fprintf(stderr, "brevant-cli: %s: no such command; the commands are %s\n", argv[1], names.c_str());
        return kExitUsage;
    }
    try {
        app.parse(argc, argv);
        return kExitDone;
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) return app.exit(error);
        std::fprintf(stderr, "brevant-cli: %s (see --help)\n", error.what());
        return kExitUsage;
    } catch (const UsageFailure& error) {
        std::fprintf(stderr, "brevant-cli: %s\n", error.what());
        return kExitUsage;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "brevant-cli: %s\n", error.what());
        return kExitFailed;
    }
}
