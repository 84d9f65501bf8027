#include "frame/start_screen_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "../core/test_support.h"
#include "link/display_protocol.h"
#include "link/serial_channel.h"
#include "port_reader.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The windows around the document, recorded; the mirror goes out on the real COM3.
class RecordingHost final : public DocumentHost {
public:
    explicit RecordingHost(const ScreenDocument& doc) : doc_(doc) {}

    void ResizeForGeometry() override { calls += "geometry;"; }
    void RedrawFrame() override { calls += "frame;"; }
    void MirrorScreen() override {
        calls += "mirror;";
        SerialChannel line;
        protocol_.MirrorScreen(doc_, LinkSettings{3, 19200}, line);
    }
    void ShowMessage(const char* text, const char* caption) override { messages.emplace_back(text, caption); }

    std::string calls;
    std::vector<std::pair<std::string, std::string>> messages;

private:
    const ScreenDocument& doc_;
    DisplayProtocol protocol_;
};

class StartScreenFiles : public testing::Test {
protected:
    void SetUp() override {
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        folder_ = std::string(base) + "kss-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(folder_.c_str(), nullptr);
        reader_.Drain(50);
    }
    void TearDown() override {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder_ + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string file = folder_ + "\\" + found.cFileName;
                SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(file.c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(folder_.c_str());
    }

    std::string PathOf(const char* name) const { return folder_ + "\\" + name; }

    static void WriteBytes(const std::string& path, const Bytes& bytes) {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    std::vector<std::string> FilesInFolder() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder_ + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }

    static void Name(ScreenDocument& doc, const std::string& path) { ASSERT_TRUE(AssignFileName(doc, path.c_str())); }

    std::string folder_;
    PortReader reader_{"COM4"};
};

Bytes ExpectedFile(const ScreenDocument& doc, uint32_t code) {
    const size_t text = doc.rows * doc.columns;
    Bytes bytes(4 + kUserGlyphBytes + text, 0);
    bytes[0] = static_cast<uint8_t>(code);
    bytes[1] = static_cast<uint8_t>(code >> 8);
    std::copy_n(doc.glyphs.begin(), kUserGlyphBytes, bytes.begin() + 4);
    std::copy_n(doc.cells.begin(), text, bytes.begin() + 4 + kUserGlyphBytes);
    return bytes;
}

TEST_F(StartScreenFiles, EachGeometryIsWrittenWithItsExactBytesAndSize) {
    struct Case {
        uint32_t before, code;
        size_t size;
    };
    for (const Case c : {Case{kSize2x20, kSize2x20, 492}, Case{kSize2x20, kSize4x20, 532},
                         Case{kSize2x20, kSize2x16, 484}, Case{kSize4x20, kSize2x16, 516}}) {
        ScreenDocument doc = StartupDocument();
        SetDisplaySize(doc, c.before);
        SetDisplaySize(doc, c.code);
        for (size_t i = 0; i < kCellCount; ++i) doc.cells[i] = static_cast<uint8_t>(i * 7 + 3);
        const std::string path = PathOf("screen.kss");
        Name(doc, path);
        RecordingHost host(doc);

        ASSERT_TRUE(SaveStartScreen(doc, host));
        const Bytes written = FileBytes(path);
        EXPECT_EQ(written.size(), c.size);
        EXPECT_EQ(written, ExpectedFile(doc, c.code));
        EXPECT_TRUE(host.messages.empty());
        EXPECT_EQ(FilesInFolder(), std::vector<std::string>{"screen.kss"}) << "no temporary file is left";
    }
}

TEST_F(StartScreenFiles, ASavedScreenLoadsBackWhole) {
    ScreenDocument saved = StartupDocument();
    SetDisplaySize(saved, kSize4x20);
    for (size_t i = 0; i < 80; ++i) saved.cells[i] = static_cast<uint8_t>(255 - i);
    saved.glyphs[3] = 0x78;
    saved.glyphs[100] = 2;
    const std::string path = PathOf("round.kss");
    Name(saved, path);
    RecordingHost saveHost(saved);
    ASSERT_TRUE(SaveStartScreen(saved, saveHost));

    ScreenDocument loaded = StartupDocument();
    Name(loaded, path);
    RecordingHost host(loaded);
    LoadStartScreen(loaded, host);

    EXPECT_EQ(host.calls, "geometry;frame;mirror;");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(loaded.sizeCode, kSize4x20);
    EXPECT_EQ(loaded.rows, 4u);
    EXPECT_TRUE(std::equal(saved.cells.begin(), saved.cells.begin() + 80, loaded.cells.begin()));
    EXPECT_TRUE(std::equal(saved.glyphs.begin(), saved.glyphs.begin() + kUserGlyphBytes, loaded.glyphs.begin()));
    EXPECT_STREQ(loaded.fileName.data(), path.c_str());
    EXPECT_EQ(reader_.Read(136).size(), 136u) << "the load ends with one mirror";
}

TEST_F(StartScreenFiles, AMissingFileShowsItsErrorCodeWithThePathAndStillMirrors) {
    ScreenDocument doc = StartupDocument();
    SetText(doc, 0, "kept");
    const ScreenDocument before = doc;
    const std::string path = PathOf("missing.kss");
    Name(doc, path);
    RecordingHost host(doc);

    LoadStartScreen(doc, host);

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].first, "00000002");
    EXPECT_EQ(host.messages[0].second, path);
    EXPECT_EQ(host.calls, "frame;mirror;");
    EXPECT_EQ(doc.cells, before.cells);
    EXPECT_EQ(doc.glyphs, before.glyphs);
    const Bytes mirrored = reader_.Read(136);
    ASSERT_EQ(mirrored.size(), 136u);
    EXPECT_EQ(Bytes(mirrored.begin() + 92, mirrored.begin() + 96), Bytes({'k', 'e', 'p', 't'}));

    // Save after the failed open writes the unchanged screen to that path.
    ASSERT_TRUE(SaveStartScreen(doc, host));
    EXPECT_EQ(FileBytes(path), ExpectedFile(doc, kSize2x20));
}

TEST_F(StartScreenFiles, AnEmptyFileBlanksTheTextKeepsTheRestAndSaysSo) {
    ScreenDocument doc = StartupDocument();
    SetText(doc, 0, "gone");
    const ScreenDocument before = doc;
    const std::string path = PathOf("empty.kss");
    WriteBytes(path, {});
    Name(doc, path);
    RecordingHost host(doc);

    LoadStartScreen(doc, host);

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], std::make_pair(std::string("Error loading"), std::string()));
    EXPECT_EQ(host.calls, "geometry;frame;mirror;");
    EXPECT_EQ(doc.sizeCode, before.sizeCode);
    EXPECT_EQ(doc.glyphs, before.glyphs);
    EXPECT_EQ(doc.cells[0], kSpace);
    EXPECT_EQ(reader_.Read(136).size(), 136u);
}

TEST_F(StartScreenFiles, OnlyTheBytesAFileCanNeedAreRead) {
    Bytes file = ExpectedFile(StartupDocument(), kSize4x20);
    file.resize(532, 'x');
    file.resize(5000, 0xEE);
    const std::string path = PathOf("long.kss");
    WriteBytes(path, file);
    ScreenDocument doc = StartupDocument();
    Name(doc, path);
    RecordingHost host(doc);

    LoadStartScreen(doc, host);

    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(doc.rows, 4u);
    EXPECT_EQ(doc.cells[79], 'x');
    EXPECT_EQ(doc.cells[80], 0) << "cells beyond the geometry are not filled from the file";
}

TEST_F(StartScreenFiles, TheCommandPrefixInTheTextIsMirroredAsASpaceAndSavedBack) {
    ScreenDocument source = StartupDocument();
    SetText(source, 0, "A\xFE" "B");
    Bytes file = ExpectedFile(source, kSize2x20);
    const std::string path = PathOf("prefix.kss");
    WriteBytes(path, file);
    ScreenDocument doc = StartupDocument();
    Name(doc, path);
    RecordingHost host(doc);

    LoadStartScreen(doc, host);

    EXPECT_EQ(doc.cells[1], 0xFE);
    const Bytes mirrored = reader_.Read(136);
    ASSERT_EQ(mirrored.size(), 136u);
    EXPECT_EQ(Bytes(mirrored.begin() + 88, mirrored.begin() + 95), Bytes({0xFE, 0x47, 1, 1, 'A', ' ', 'B'}));

    const std::string copy = PathOf("copy.kss");
    Name(doc, copy);
    ASSERT_TRUE(SaveStartScreen(doc, host));
    EXPECT_EQ(FileBytes(copy), file);
}

TEST_F(StartScreenFiles, ASaveOverAReadOnlyFileFailsVisiblyAndLeavesItIntact) {
    const std::string path = PathOf("locked.kss");
    const Bytes old = {1, 2, 3, 4, 5};
    WriteBytes(path, old);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    ScreenDocument doc = StartupDocument();
    Name(doc, path);
    RecordingHost host(doc);

    EXPECT_FALSE(SaveStartScreen(doc, host));

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].second, "Error saving");
    EXPECT_NE(host.messages[0].first.find(path), std::string::npos);
    EXPECT_EQ(FileBytes(path), old);
    EXPECT_EQ(FilesInFolder(), std::vector<std::string>{"locked.kss"});
}

// The file behind a path: its index on the volume (the inode, under Wine).
uint64_t FileIdentity(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &info);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return known ? (uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow) : 0;
}

// A reader that opened the old file keeps reading it whole; a save never rewrites it in place.
TEST_F(StartScreenFiles, EverySaveReplacesTheFileWithANewOne) {
    ScreenDocument doc = StartupDocument();
    const std::string path = PathOf("replaced.kss");
    Name(doc, path);
    RecordingHost host(doc);
    std::vector<uint64_t> identities;
    for (char c : {'1', '2', '3'}) {
        doc.cells[0] = static_cast<uint8_t>(c);
        ASSERT_TRUE(SaveStartScreen(doc, host));
        EXPECT_EQ(FileBytes(path), ExpectedFile(doc, kSize2x20));
        identities.push_back(FileIdentity(path));
        EXPECT_NE(identities.back(), 0u);
    }
    // Each save's file exists beside the one it replaces, so the two never share an index; the
    // first and the third may, as the system reuses freed indexes.
    EXPECT_NE(identities[0], identities[1]);
    EXPECT_NE(identities[1], identities[2]);
    EXPECT_EQ(FilesInFolder(), std::vector<std::string>{"replaced.kss"});
}

TEST_F(StartScreenFiles, ASaveOverAFileAnotherProgramHoldsOpenFailsWithTheReasonOnOneLine) {
    const std::string path = PathOf("held.kss");
    const Bytes old = {9, 8, 7, 6};
    WriteBytes(path, old);
    const uint64_t before = FileIdentity(path);
    // Another program reads the file and lets others read and write, but not replace it.
    const HANDLE held =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ScreenDocument doc = StartupDocument();
    Name(doc, path);
    RecordingHost host(doc);

    const bool saved = SaveStartScreen(doc, host);
    CloseHandle(held);

    EXPECT_FALSE(saved);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].second, "Error saving");
    const std::string head = "The start screen could not be saved to\n" + path + "\n\n";
    const std::string& text = host.messages[0].first;
    ASSERT_EQ(text.compare(0, head.size(), head), 0) << text;
    const std::string reason = text.substr(head.size());
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos) << "no stray line break: [" << reason << "]";
    ASSERT_GE(reason.size(), 2u);
    EXPECT_EQ(reason.substr(reason.size() - 2).find_first_of(" ."), 1u) << "one full stop ends it: [" << reason << "]";
    EXPECT_EQ(FileBytes(path), old);
    EXPECT_EQ(FileIdentity(path), before);
    EXPECT_EQ(FilesInFolder(), std::vector<std::string>{"held.kss"}) << "no temporary file is left";
}

TEST_F(StartScreenFiles, ASaveIntoAFolderThatCannotBeWrittenFailsVisibly) {
    const std::string path = PathOf("no such folder\\screen.kss");
    ScreenDocument doc = StartupDocument();
    Name(doc, path);
    RecordingHost host(doc);

    EXPECT_FALSE(SaveStartScreen(doc, host));

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].second, "Error saving");
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(StartScreenFiles, APathLongerThanTheDocumentHoldsIsRefusedWithAMessage) {
    ScreenDocument doc = StartupDocument();
    const std::string kept = PathOf("kept.kss");
    Name(doc, kept);
    RecordingHost host(doc);
    const std::string tooLong = "C:\\" + std::string(297, 'a');

    EXPECT_FALSE(AssignFileName(doc, tooLong.c_str(), host));

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], std::make_pair(std::string(kPathTooLongText), std::string(kPathTooLongCaption)));
    EXPECT_STREQ(doc.fileName.data(), kept.c_str());
    EXPECT_TRUE(AssignFileName(doc, ("C:\\" + std::string(252, 'a')).c_str(), host)) << "255 characters fit";
}

}  // namespace
