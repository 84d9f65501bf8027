#include <gtest/gtest.h>

#include "tools/vmodule/src/state_dump.h"
#include "tools/vmodule/tests/editor_sequences.h"

namespace vmodule::testing {
namespace {

TEST(StateDump, FreshModule) {
    const ModuleInterpreter module(kGeometry2x16);
    EXPECT_EQ(FormatDump(module),
              "geometry: 2x16\n"
              "row1: |                |\n"
              "row1.hex: 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20\n"
              "row2: |                |\n"
              "row2.hex: 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20\n"
              "cursor: column 1 row 1\n"
              "char0: 00 00 00 00 00 00 00 00\n"
              "char1: 00 00 00 00 00 00 00 00\n"
              "char2: 00 00 00 00 00 00 00 00\n"
              "char3: 00 00 00 00 00 00 00 00\n"
              "char4: 00 00 00 00 00 00 00 00\n"
              "char5: 00 00 00 00 00 00 00 00\n"
              "char6: 00 00 00 00 00 00 00 00\n"
              "char7: 00 00 00 00 00 00 00 00\n"
              "stored.row1: |................|\n"
              "stored.row1.hex: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
              "stored.row2: |................|\n"
              "stored.row2.hex: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
              "stored.char0: 00 00 00 00 00 00 00 00\n"
              "stored.char1: 00 00 00 00 00 00 00 00\n"
              "stored.char2: 00 00 00 00 00 00 00 00\n"
              "stored.char3: 00 00 00 00 00 00 00 00\n"
              "stored.char4: 00 00 00 00 00 00 00 00\n"
              "stored.char5: 00 00 00 00 00 00 00 00\n"
              "stored.char6: 00 00 00 00 00 00 00 00\n"
              "stored.char7: 00 00 00 00 00 00 00 00\n"
              "received: 0\n"
              "incomplete-command: no\n");
}

TEST(StateDump, ShowsTextCursorCharactersAndStore) {
    ModuleInterpreter module(kGeometry4x20);
    module.Feed(Bytes{kCommandPrefix, kDefineCharacter, 1, 0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11, 0x00});
    module.Feed(Bytes{kCommandPrefix, kStoreCharacter, 7, 0x1F, 0, 0x1F, 0, 0x1F, 0, 0x1F, 0});
    module.Feed(Bytes{kCommandPrefix, kPlaceCursor, 19, 4, 'H', 'i', '|', 0x01, 0x7F, 0xFF});
    Bytes storedText{kCommandPrefix, kStoreText, 'A', 0x00, 0xFF, 'z'};
    storedText.resize(2 + 80, '-');
    module.Feed(storedText);

    const std::string dump = FormatDump(module);
    const std::string expectedStart =
        "geometry: 4x20\n"
        "row1: ||...                |\n"
        "row1.hex: 7C 01 7F FF 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20\n"
        "row2: |                    |\n"
        "row2.hex: 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20\n"
        "row3: |                    |\n"
        "row3.hex: 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20\n"
        "row4: |                  Hi|\n"
        "row4.hex: 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 48 69\n"
        "cursor: column 5 row 1\n"
        "char0: 00 00 00 00 00 00 00 00\n"
        "char1: 0E 11 11 1F 11 11 11 00\n";
    EXPECT_EQ(dump.substr(0, expectedStart.size()), expectedStart);
    EXPECT_NE(dump.find("\nstored.row1: |A..z----------------|\n"
                        "stored.row1.hex: 41 00 FF 7A 2D 2D 2D 2D 2D 2D 2D 2D 2D 2D 2D 2D 2D 2D 2D 2D\n"),
              std::string::npos)
        << dump;
    EXPECT_NE(dump.find("\nstored.row4: |--------------------|\n"), std::string::npos) << dump;
    EXPECT_NE(dump.find("\nstored.char6: 00 00 00 00 00 00 00 00\n"
                        "stored.char7: 1F 00 1F 00 1F 00 1F 00\n"),
              std::string::npos)
        << dump;
    EXPECT_TRUE(
        dump.ends_with("\nstored.char7: 1F 00 1F 00 1F 00 1F 00\n"
                       "received: 114\n"
                       "incomplete-command: no\n"))
        << dump;
    module.Feed(Bytes{kCommandPrefix});
    EXPECT_TRUE(FormatDump(module).ends_with("\nreceived: 115\nincomplete-command: yes\n"));
}

}  // namespace
}  // namespace vmodule::testing
