#include <gtest/gtest.h>

#include <string>

#include "app/file_association.h"

namespace {

// The default value of a key under HKEY_CLASSES_ROOT, with its type and stored length checked.
std::string DefaultValue(const char* subkey, const char* valueName = nullptr) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
    char data[1024] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    const LONG status = RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return "<no value>";
    if (type != REG_SZ) return "<not REG_SZ>";
    const std::string text(data);
    if (size != text.size() + 1) return "<length " + std::to_string(size) + ">";
    return text;
}

void SetDefaultValue(const char* subkey, const char* text, const char* valueName = nullptr) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(std::string(text).size() + 1));
    RegCloseKey(key);
}

void ExpectRegisteredFor(const std::string& path) {
    EXPECT_EQ(DefaultValue(".kbl"), "kbl.file");
    EXPECT_EQ(DefaultValue("kbl.file"), "Korvane Boot Logo");
    EXPECT_EQ(DefaultValue("kbl.file\\DefaultIcon"), path + ",0");
    EXPECT_EQ(DefaultValue("kbl.file\\shell"), "open");
    EXPECT_EQ(DefaultValue("kbl.file\\shell\\open"), "\"" + path + "\" %1");
    EXPECT_EQ(DefaultValue("kbl.file\\shell\\open\\command"), "\"" + path + "\" %1");
}

TEST(FileAssociation, RegistersTheKblTypeForThisProgram) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    FileAssociation association;
    association.RegisterFileType();
    ExpectRegisteredFor(path);
    EXPECT_EQ(DefaultValue(".kss"), "<no key>");
}

TEST(FileAssociation, QuotesAPathWithSpacesAndLeavesTheArgumentUnquoted) {
    FileAssociation().RegisterFileTypeFor("C:\\Program Files\\Brevant Tools\\brevant.exe");
    ExpectRegisteredFor("C:\\Program Files\\Brevant Tools\\brevant.exe");
}

TEST(FileAssociation, OverwritesAnotherAssociationAndKeepsUnrelatedValues) {
    SetDefaultValue(".kbl", "other.file");
    SetDefaultValue(".kbl", "text/plain", "Content Type");
    SetDefaultValue("kbl.file\\DefaultIcon", "C:\\old\\place.exe,3");
    SetDefaultValue("kbl.file\\shell\\edit\\command", "notepad %1");
    FileAssociation().RegisterFileTypeFor("D:\\moved\\brevant.exe");
    ExpectRegisteredFor("D:\\moved\\brevant.exe");
    EXPECT_EQ(DefaultValue(".kbl", "Content Type"), "text/plain");
    EXPECT_EQ(DefaultValue("kbl.file\\shell\\edit\\command"), "notepad %1");
}

TEST(FileAssociation, PathTooLongForTheValuesWritesNothing) {
    FileAssociation().RegisterFileTypeFor("C:\\kept.exe");
    const std::string tooLong = "C:\\" + std::string(500, 'd') + "\\b.exe";  // 509 characters
    FileAssociation().RegisterFileTypeFor(tooLong.c_str());
    ExpectRegisteredFor("C:\\kept.exe");
}

TEST(AssociationValues, ThePathFitsUpTo506Characters) {
    AssociationValues values;
    const std::string longest(506, 'p');
    ASSERT_TRUE(FormatAssociationValues(longest.c_str(), values));
    EXPECT_EQ(std::string(values.commandValue), "\"" + longest + "\" %1");
    EXPECT_EQ(std::string(values.iconValue), longest + ",0");
    EXPECT_FALSE(FormatAssociationValues(std::string(507, 'p').c_str(), values));
}

}  // namespace
