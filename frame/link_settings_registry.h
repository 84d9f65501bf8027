#pragma once
#include <windows.h>

#include "link/link_settings.h"

inline constexpr char kSettingsParentKey[] = "software\\Korvane\\QV5";
inline constexpr char kSettingsKeyName[] = "Drelmont";
inline constexpr char kSettingsKey[] = "software\\Korvane\\QV5\\Drelmont";
inline constexpr char kPortValueName[] = "port";
inline constexpr char kSpeedValueName[] = "speed";

// The stored values under HKEY_LOCAL_MACHINE; a value that cannot be read as text gives its default.
LinkSettings LoadLinkSettings();
// Silent when the key cannot be written: the next start reads the old values or the defaults.
void SaveLinkSettings(const LinkSettings& settings);
