#include "app/file_association.h"

#include <windows.h>

#include <cstdio>

bool FormatAssociationValues(const char* modulePath, AssociationValues& values) {
    const int icon = std::snprintf(values.iconValue, sizeof values.iconValue, "%s,0", modulePath);
    const int command = std::snprintf(values.commandValue, sizeof values.commandValue, "\"%s\" %%1", modulePath);
    return icon >= 0 && command >= 0 && static_cast<size_t>(icon) < sizeof values.iconValue &&
           static_cast<size_t>(command) < sizeof values.commandValue;
}

void FileAssociation::RegisterFileType() {
    char modulePath[kAssociationValueBytes];
    const DWORD length = GetModuleFileNameA(nullptr, modulePath, sizeof modulePath);
    // A cut path would name another program.
    if (length == 0 || length >= sizeof modulePath) return;
    RegisterFileTypeFor(modulePath);
}

void FileAssociation::RegisterFileTypeFor(const char* modulePath) {
    AssociationValues values;
    if (!FormatAssociationValues(modulePath, values)) return;
    if (root_.Open(HKEY_CLASSES_ROOT, nullptr, KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
    WriteTypeKeys(values);
}

// The shell knows start screens as "kbl" boot logos, the name the modules' makers gave them, while
// the editor saves "kss": existing shortcuts and scripts open .kbl files with us. Written at every
// start so that a moved program repairs its own association.
void FileAssociation::WriteTypeKeys(const AssociationValues& values) {
    RegistryKey key;
    if (key.Create(root_.Handle(), ".kbl") == ERROR_SUCCESS) key.SetStringValue("kbl.file", nullptr);
    key.Close();
    if (key.Create(root_.Handle(), "kbl.file") == ERROR_SUCCESS) key.SetStringValue("Korvane Boot Logo", nullptr);
    key.Close();

    RegistryKey typeKey;
    typeKey.Open(HKEY_CLASSES_ROOT, "kbl.file", KEY_ALL_ACCESS);
    if (typeKey.Handle() != nullptr) {
        if (key.Create(typeKey.Handle(), "DefaultIcon") == ERROR_SUCCESS) key.SetStringValue(values.iconValue, nullptr);
        key.Close();
        if (key.Create(typeKey.Handle(), "Shell") == ERROR_SUCCESS) key.SetStringValue("open", nullptr);
        key.Close();
    }
    typeKey.Close();

    if (typeKey.Open(HKEY_CLASSES_ROOT, "kbl.file\\shell", KEY_ALL_ACCESS) == ERROR_SUCCESS) {
        if (key.Create(typeKey.Handle(), "open") == ERROR_SUCCESS) key.SetStringValue(values.commandValue, nullptr);
        key.Close();
    }
    typeKey.Close();

    if (typeKey.Open(HKEY_CLASSES_ROOT, "kbl.file\\shell\\open", KEY_ALL_ACCESS) == ERROR_SUCCESS) {
        typeKey.SetKeyValue("command", values.commandValue, nullptr);
    }
    typeKey.Close();
}
