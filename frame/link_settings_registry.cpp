#include "frame/link_settings_registry.h"

#include <shlwapi.h>

#include "toolkit/registry_key.h"

namespace {

constexpr DWORD kValueTextBytes = 255;

// Anything but a string that fits the buffer would leave the text undefined.
int32_t ReadNumber(HKEY key, const char* valueName, int32_t fallback) {
    char text[kValueTextBytes + 1] = {};
    DWORD type = REG_NONE;
    DWORD size = kValueTextBytes;
    const LONG status = RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    if (status != ERROR_SUCCESS || type != REG_SZ) return fallback;
    text[size < kValueTextBytes ? size : kValueTextBytes] = '\0';
    return StrToIntA(text);
}

}  // namespace

LinkSettings LoadLinkSettings() {
    RegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_ALL_ACCESS) != ERROR_SUCCESS) return kDefaultLinkSettings;
    return LinkSettings{ReadNumber(key.Handle(), kPortValueName, kDefaultPortNumber),
                        ReadNumber(key.Handle(), kSpeedValueName, kDefaultBaudRate)};
}

// Machine-wide, not per user: the module is wired to this computer's port, whoever is logged on.
// Written back at every close, so an edited value is normalised to plain decimal text.
void SaveLinkSettings(const LinkSettings& settings) {
    RegistryKey key;
    if (key.Create(HKEY_LOCAL_MACHINE, kSettingsParentKey) != ERROR_SUCCESS) return;
    char text[16];
    wsprintfA(text, "%d", settings.portNumber);
    key.SetKeyValue(kSettingsKeyName, text, kPortValueName);
    wsprintfA(text, "%d", settings.baudRate);
    key.SetKeyValue(kSettingsKeyName, text, kSpeedValueName);
    key.Close();
}
