#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/app_module.h"
#include "resources/resource_ids.h"

namespace {

std::string LoadText(UINT id) {
    char text[512] = {};
    LoadStringA(gAppModule.Instance(), id, text, sizeof text);
    return text;
}

struct Item {
    std::string label;
    UINT id;  // 0 for a separator, -1 for a popup
};

std::vector<Item> Items(HMENU menu) {
    std::vector<Item> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char label[128] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = label;
        info.cch = sizeof label;
        GetMenuItemInfoA(menu, i, TRUE, &info);
        if ((info.fType & MFT_SEPARATOR) != 0) {
            items.push_back({"", 0});
            continue;
        }
        EXPECT_EQ(info.fState & (MFS_CHECKED | MFS_DISABLED | MFS_DEFAULT), 0u) << label;
        items.push_back({label, info.hSubMenu != nullptr ? static_cast<UINT>(-1) : info.wID});
    }
    return items;
}

bool operator==(const Item& a, const Item& b) { return a.label == b.label && a.id == b.id; }

void PrintTo(const Item& item, std::ostream* out) { *out << '"' << item.label << "\" " << std::hex << item.id; }

TEST(FrameResourcesTest, TheMenuHasTheFileAndHelpPopupsWithTheirCommands) {
    const HMENU menu = LoadMenuA(gAppModule.Instance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Items(menu), (std::vector<Item>{{"&File", UINT(-1)}, {"&Help", UINT(-1)}}));
    const HMENU file = GetSubMenu(menu, 0);
    EXPECT_EQ(Items(file), (std::vector<Item>{{"&New\tCtrl+N", 0xE100},
                                              {"&Open...\tCtrl+O", 0xE101},
                                              {"&Save\tCtrl+S", 0xE103},
                                              {"Save &As...", 0xE104},
                                              {"", 0},
                                              {"Display size", UINT(-1)},
                                              {"&Configure Serial port", 0x8006},
                                              {"&Write to Display\tCtrl-W", 0x8005},
                                              {"", 0},
                                              {"E&xit", 0xE141}}));
    EXPECT_EQ(Items(GetSubMenu(file, 5)),
              (std::vector<Item>{{"2x20", 0x8008}, {"2x16", 0x8009}, {"4x20", 0x800A}}));
    EXPECT_EQ(Items(GetSubMenu(menu, 1)), (std::vector<Item>{{"&About Brevant", 0xE140}}));
    DestroyMenu(menu);
}

TEST(FrameResourcesTest, TheAcceleratorTableHoldsEveryEntryAndNoneForCtrlW) {
    const HACCEL table = LoadAcceleratorsA(gAppModule.Instance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(table, nullptr);
    ACCEL entries[32] = {};
    const int count = CopyAcceleratorTableA(table, entries, 32);
    struct Entry {
        BYTE modifiers;
        WORD key;
        WORD command;
    };
    const Entry expected[] = {
        {FCONTROL, 'N', 0xE100},   {FCONTROL, 'O', 0xE101},  {FCONTROL, 'S', 0xE103},
        {FCONTROL, 'P', 0xE107},   {FCONTROL, 'Z', 0xE12B},  {FCONTROL, 'X', 0xE123},
        {FCONTROL, 'C', 0xE122},   {FCONTROL, 'V', 0xE125},  {FALT, VK_BACK, 0xE12B},
        {FSHIFT, VK_DELETE, 0xE123}, {FCONTROL, VK_INSERT, 0xE122}, {FSHIFT, VK_INSERT, 0xE125},
        {0, VK_F6, 0xE150},        {FSHIFT, VK_F6, 0xE151},
    };
    ASSERT_EQ(count, 14);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].fVirt & ~0x80, FVIRTKEY | expected[i].modifiers);
        EXPECT_EQ(entries[i].key, expected[i].key);
        EXPECT_EQ(entries[i].cmd, expected[i].command);
    }
}

TEST(FrameResourcesTest, TheCaptionStatusAndPromptStringsAreAsTheUserSeesThem) {
    EXPECT_EQ(LoadText(128), "Ignita");
    EXPECT_EQ(LoadText(0xE001), "Ready");
    EXPECT_EQ(LoadText(0xE100), "Create a new document\nNew");
    EXPECT_EQ(LoadText(0xE101), "Open an existing document\nOpen");
    EXPECT_EQ(LoadText(0xE103), "Save the active document\nSave");
    EXPECT_EQ(LoadText(0xE104), "Save the active document with a new name\nSave As");
    EXPECT_EQ(LoadText(0xE140), "Display program information, version number and copyright\nAbout");
    EXPECT_EQ(LoadText(0xE141), "Quit the application; prompts to save documents\nExit");
    EXPECT_EQ(LoadText(0xEF00), "Change the window size");
    EXPECT_EQ(LoadText(0xEF01), "Change the window position");
    EXPECT_EQ(LoadText(0xEF02), "Reduce the window to an icon");
    EXPECT_EQ(LoadText(0xEF03), "Enlarge the window to full size");
    EXPECT_EQ(LoadText(0xEF04), "Switch to the next document window");
    EXPECT_EQ(LoadText(0xEF05), "Switch to the previous document window");
    EXPECT_EQ(LoadText(0xEF06), "Close the active window and prompts to save the documents");
    EXPECT_EQ(LoadText(0xEF12), "Restore the window to normal size");
    EXPECT_EQ(LoadText(0xEF13), "Activate Task List");
    for (const UINT none : {0x8005u, 0x8006u, 0x8008u, 0x8009u, 0x800Au}) EXPECT_EQ(LoadText(none), "") << none;
}

TEST(FrameResourcesTest, TheIconHasBothSizes) {
    for (const int size : {16, 32}) {
        const HICON icon = static_cast<HICON>(LoadImageA(gAppModule.Instance(), MAKEINTRESOURCEA(IDR_MAINFRAME),
                                                         IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        EXPECT_EQ(bitmap.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST(FrameResourcesTest, TheManifestAsksForCommonControlsSix) {
    const HRSRC found = FindResourceA(gAppModule.Instance(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    const char* data = static_cast<const char*>(LockResource(LoadResource(gAppModule.Instance(), found)));
    const std::string manifest(data, SizeofResource(gAppModule.Instance(), found));
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
}

}  // namespace
