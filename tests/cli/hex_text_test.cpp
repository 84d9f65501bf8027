#include "formats/hex_text.h"

#include <gtest/gtest.h>

namespace {

TEST(HexText, WritesTwoDigitsAByteInTheCaseAskedWithTheSeparatorOnlyBetween) {
    const uint8_t bytes[] = {0x00, 0x0F, 0xA0, 0xFE};
    EXPECT_EQ(HexText(bytes, HexLetters::Lower), "000fa0fe");
    EXPECT_EQ(HexText(bytes, HexLetters::Upper, ' '), "00 0F A0 FE");
    EXPECT_EQ(HexText({}, HexLetters::Upper, ' '), "");
}

TEST(HexText, ReadsBackWhatItWritesInEitherCaseAndRefusesEveryOtherLayout) {
    std::vector<uint8_t> out;
    EXPECT_TRUE(ParseHex("000fA0Fe", out));
    EXPECT_EQ(out, (std::vector<uint8_t>{0x00, 0x0F, 0xA0, 0xFE}));
    EXPECT_TRUE(ParseHex("4E 0a", out, ' '));
    EXPECT_EQ(out, (std::vector<uint8_t>{0x4E, 0x0A}));
    EXPECT_TRUE(ParseHex("", out, ' '));
    EXPECT_TRUE(out.empty());
    for (const char* bad : {"4", "4E0", "4G", "4E ", " 4E", "4E  0A", "4E:0A", "4E0A", "+4E"}) {
        out = {1};
        EXPECT_FALSE(ParseHex(bad, out, ' ')) << bad;
        EXPECT_TRUE(out.empty()) << bad;
    }
    for (const char* bad : {"4E 0A", "4", "0x"}) EXPECT_FALSE(ParseHex(bad, out)) << bad;
}

}  // namespace
