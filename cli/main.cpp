#include <cstdio>
#include <exception>

#include "cli/command_failure.h"
#include "cli/commands.h"

int main(int argc, char** argv) {
    CLI::App app{"brevant-cli: inspect, convert, render and create start screens of character LCD modules"};
    app.require_subcommand(1);
    AddInfoCommand(app);
    AddExportCommand(app);
    AddImportCommand(app);
    AddNewCommand(app);
    AddShowCommand(app);
    AddRenderCommand(app);
    AddLogoCommand(app);
    try {
        app.parse(argc, argv);
        return kExitDone;
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? kExitDone : kExitUsage;
    } catch (const UsageFailure& error) {
        std::fprintf(stderr, "brevant-cli: %s\n", error.what());
        return kExitUsage;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "brevant-cli: %s\n", error.what());
        return kExitFailed;
    }
}
