#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"

namespace {

std::string Tail(const char* line, UINT codePage = 1252) { return CommandLineTail(line, codePage); }

TEST(CommandLineTail, UnquotedProgramNameEndsAtTheFirstBlankOrControlCharacter) {
    EXPECT_EQ(Tail("brevant.exe screen.kss"), "screen.kss");
    EXPECT_EQ(Tail("C:\\brevant.exe\tscreen.kss"), "screen.kss");
    EXPECT_EQ(Tail("brevant.exe\x01screen.kss"), "screen.kss");
    EXPECT_EQ(Tail("brevant.exe\x1f\x1fscreen.kss"), "screen.kss");
    // Byte 0x80 and above belong to the name, also when they are negative as char.
    EXPECT_EQ(Tail("brev\xe9nt.exe \xe9.kss"), "\xe9.kss");
}

TEST(CommandLineTail, QuotedProgramNameRunsToTheNextQuoteWhichIsSkipped) {
    EXPECT_EQ(Tail("\"C:\\Program Files\\brevant.exe\" screen.kss"), "screen.kss");
    // No blank is needed after the closing quote.
    EXPECT_EQ(Tail("\"C:\\My Tools\\brevant.exe\"screen.kss"), "screen.kss");
}

TEST(CommandLineTail, EverythingAfterTheBlanksIsTakenVerbatim) {
    EXPECT_EQ(Tail("brevant.exe   \t \"C:\\My Screens\\a.kss\" "), "\"C:\\My Screens\\a.kss\" ");
    EXPECT_EQ(Tail("brevant.exe a b  c"), "a b  c");
    EXPECT_EQ(Tail("brevant.exe \"unterminated"), "\"unterminated");
}

TEST(CommandLineTail, NothingAfterTheProgramNameGivesAnEmptyTail) {
    EXPECT_EQ(Tail("brevant.exe"), "");
    EXPECT_EQ(Tail("brevant.exe    "), "");
    EXPECT_EQ(Tail("\"C:\\a b\\brevant.exe\""), "");
    EXPECT_EQ(Tail("\"C:\\a b\\brevant.exe\" \t "), "");
    EXPECT_EQ(Tail(""), "");
    EXPECT_EQ(Tail(nullptr), "");
}

TEST(CommandLineTail, UnterminatedQuotedProgramNameTakesTheWholeLine) {
    EXPECT_EQ(Tail("\"C:\\a b\\brevant.exe screen.kss"), "");
}

TEST(CommandLineTail, DoubleByteLeadByteTakesAQuoteAfterItAsItsTrailByte) {
    // In Shift-JIS 0x83 is a lead byte, so the quote after it is not the closing one.
    const char line[] = "\"C:\\\x83\"x\\brevant.exe\" screen.kss";
    EXPECT_EQ(Tail(line, 932), "screen.kss");
    EXPECT_EQ(Tail(line, 1252), "x\\brevant.exe\" screen.kss");
}

TEST(CommandLineTail, LeadByteAtTheEndDoesNotSkipTheTerminatingZero) {
    const char line[] = "\"C:\\brevant\x83\0 hidden";
    EXPECT_EQ(Tail(line, 932), "");
}

}  // namespace
