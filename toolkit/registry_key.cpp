#include "toolkit/registry_key.h"

#include <cstring>

LONG RegistryKey::Open(HKEY parent, const char* subkey, REGSAM access) {
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(parent, subkey, 0, access, &opened);
    if (status == ERROR_SUCCESS) {
        Close();
        key_ = opened;
    }
    return status;
}

LONG RegistryKey::Create(HKEY parent, const char* subkey) {
    HKEY created = nullptr;
    const LONG status = RegCreateKeyExA(parent, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                        &created, nullptr);
    if (status == ERROR_SUCCESS) {
        Close();
        key_ = created;
    }
    return status;
}

LONG RegistryKey::Close() {
    if (key_ == nullptr) return ERROR_SUCCESS;
    const LONG status = RegCloseKey(key_);
    key_ = nullptr;
    return status;
}

LONG RegistryKey::SetStringValue(const char* text, const char* valueName) {
    return RegSetValueExA(key_, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(std::strlen(text) + 1));
}

LONG RegistryKey::SetKeyValue(const char* subkey, const char* text, const char* valueName) {
    RegistryKey child;
    const LONG status = child.Create(key_, subkey);
    if (status != ERROR_SUCCESS) return status;
    return child.SetStringValue(text, valueName);
}
