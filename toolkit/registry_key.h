#pragma once
#include <windows.h>

// Owns one open registry key handle, or none.
class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    LONG Open(HKEY parent, const char* subkey, REGSAM access);
    LONG Create(HKEY parent, const char* subkey);
    LONG Close();
    LONG SetStringValue(const char* text, const char* valueName);
    LONG SetKeyValue(const char* subkey, const char* text, const char* valueName);

    HKEY Handle() const { return key_; }

private:
    HKEY key_ = nullptr;
};
