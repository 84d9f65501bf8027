#include <gtest/gtest.h>

#include <vector>

#include "tools/vmodule/src/command_line.h"

namespace vmodule {
namespace {

ParsedCommandLine Parse(std::vector<std::string_view> arguments) {
    return ParseCommandLine(arguments);
}

TEST(CommandLine, LinkWithDefaults) {
    const auto parsed = Parse({"--link", "/tmp/com3"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->geometry, kGeometry2x20);
    EXPECT_EQ(parsed.options->link, std::filesystem::path("/tmp/com3"));
    EXPECT_FALSE(parsed.options->state);
    EXPECT_FALSE(parsed.options->dumpTo);
    EXPECT_FALSE(parsed.options->style);
    EXPECT_FALSE(parsed.options->powerCycle || parsed.options->dump || parsed.options->quiet);
}

TEST(CommandLine, EveryLiveOption) {
    const auto parsed = Parse({"--geometry", "4x20", "--link", "l", "--state", "s", "--dump-to=d", "--power-cycle",
                               "--quiet", "--style", "half", "--note", "on COM3"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->geometry, kGeometry4x20);
    EXPECT_EQ(parsed.options->state, std::filesystem::path("s"));
    EXPECT_EQ(parsed.options->dumpTo, std::filesystem::path("d"));
    EXPECT_EQ(parsed.options->style, GlassStyle::HalfBlocks);
    EXPECT_TRUE(parsed.options->powerCycle && parsed.options->quiet);
    EXPECT_EQ(parsed.options->note, "on COM3");
}

TEST(CommandLine, DumpNeedsNoLink) {
    const auto parsed = Parse({"--geometry=2x16", "--state", "s", "--power-cycle", "--dump"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_TRUE(parsed.options->dump);
    EXPECT_EQ(parsed.options->geometry, kGeometry2x16);
}

TEST(CommandLine, MistakesAreRefused) {
    const std::vector<std::vector<std::string_view>> wrong = {
        {},
        {"--quiet"},
        {"--link"},
        {"--link", ""},
        {"--link", "a", "--link", "b"},
        {"--link", "a", "--geometry", "3x20"},
        {"--link", "a", "--style", "dots"},
        {"--link", "a", "--verbose"},
        {"--link", "a", "extra"},
        {"--link", "a", "--quiet=yes"},
        {"--dump", "--link", "a"},
        {"--dump", "--dump-to", "a"},
    };
    for (const auto& arguments : wrong) {
        const auto parsed = Parse(arguments);
        EXPECT_FALSE(parsed.options) << (arguments.empty() ? "(none)" : arguments.back());
        EXPECT_FALSE(parsed.error.empty());
    }
}

TEST(CommandLine, HelpNeedsNothingElse) {
    const auto parsed = Parse({"--help"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_TRUE(parsed.options->help);
    EXPECT_NE(UsageText().find("--link PATH"), std::string::npos);
}

}  // namespace
}  // namespace vmodule
