#include "tools/vmodule/src/command_line.h"

#include <set>

namespace vmodule {

namespace {

bool TakesValue(std::string_view option) {
    return option == "--geometry" || option == "--link" || option == "--state" || option == "--dump-to" ||
           option == "--style" || option == "--note";
}

bool IsFlag(std::string_view option) {
    return option == "--power-cycle" || option == "--dump" || option == "--quiet" || option == "--help" ||
           option == "-h" || option == "--version";
}

std::optional<std::string> ApplyValue(Options& options, std::string_view option, std::string_view value) {
    if (option == "--geometry") {
        const auto geometry = ParseGeometry(value);
        if (!geometry) return "--geometry takes 2x20, 2x16 or 4x20, not \"" + std::string(value) + "\"";
        options.geometry = *geometry;
        return std::nullopt;
    }
    if (option == "--style") {
        if (value == "blocks")
            options.style = GlassStyle::Blocks;
        else if (value == "half")
            options.style = GlassStyle::HalfBlocks;
        else if (value == "quadrants")
            options.style = GlassStyle::Quadrants;
        else
            return "--style takes blocks, half or quadrants, not \"" + std::string(value) + "\"";
        return std::nullopt;
    }
    if (option == "--note") {
        options.note = value;
        return std::nullopt;
    }
    if (value.empty()) return std::string(option) + " takes a non-empty path";
    if (option == "--link") options.link = std::filesystem::path(value);
    if (option == "--state") options.state = std::filesystem::path(value);
    if (option == "--dump-to") options.dumpTo = std::filesystem::path(value);
    return std::nullopt;
}

void ApplyFlag(Options& options, std::string_view option) {
    if (option == "--power-cycle") options.powerCycle = true;
    if (option == "--dump") options.dump = true;
    if (option == "--quiet") options.quiet = true;
    if (option == "--help" || option == "-h") options.help = true;
    if (option == "--version") options.version = true;
}

ParsedCommandLine Failure(std::string error) {
    return {std::nullopt, std::move(error)};
}

}  // namespace

ParsedCommandLine ParseCommandLine(std::span<const std::string_view> arguments) {
    Options options;
    std::set<std::string, std::less<>> seen;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view option = arguments[i];
        std::optional<std::string_view> inlineValue;
        if (const auto equals = option.find('='); option.starts_with("--") && equals != std::string_view::npos) {
            inlineValue = option.substr(equals + 1);
            option = option.substr(0, equals);
        }
        if (!TakesValue(option) && !IsFlag(option)) return Failure("unknown option " + std::string(arguments[i]));
        if (!seen.emplace(option).second) return Failure(std::string(option) + " given twice");
        if (IsFlag(option)) {
            if (inlineValue) return Failure(std::string(option) + " takes no value");
            ApplyFlag(options, option);
            continue;
        }
        if (!inlineValue) {
            if (i + 1 == arguments.size()) return Failure(std::string(option) + " needs a value");
            inlineValue = arguments[++i];
        }
        if (auto error = ApplyValue(options, option, *inlineValue)) return Failure(*error);
    }
    if (options.help || options.version) return {options, {}};
    if (options.dump && (options.link || options.dumpTo))
        return Failure("--dump prints the state and exits; it takes no --link or --dump-to");
    if (!options.dump && !options.link) return Failure("--link PATH is needed (or --dump)");
    return {options, {}};
}

std::string UsageText() {
    return "usage: vmodule [--geometry 2x20|2x16|4x20] --link PATH [--state FILE] [--dump-to FILE]\n"
           "               [--power-cycle] [--quiet] [--style blocks|half|quadrants]\n"
           "               [--note TEXT]\n"
           "       vmodule [--geometry 2x20|2x16|4x20] [--state FILE] [--power-cycle] --dump\n"
           "\n"
           "A virtual QV5 character display module on a pseudo-terminal.\n"
           "  --geometry G     rows x columns of the module (default 2x20)\n"
           "  --link PATH      make PATH a symlink to the module's serial line and listen on it\n"
           "  --state FILE     keep the module's non-volatile store in FILE across runs\n"
           "  --dump-to FILE   rewrite FILE with the state dump after every chunk received\n"
           "  --power-cycle    start as after power-on: the stored start screen is shown\n"
           "  --dump           print the state dump and exit\n"
           "  --quiet          do not draw the module in the terminal\n"
           "  --style S        blocks (two characters per dot), half (coloured half blocks) or\n"
           "                   quadrants (2 x 2 dots per character); by default the largest that fits\n"
           "  --note TEXT      a line shown under the module\n"
           "  --version        print the version and exit\n"
           "Signals: SIGUSR1 power-cycles the module; SIGINT, SIGTERM and SIGHUP end it.\n";
}

}  // namespace vmodule
