#pragma once
#include <windows.h>

// The status bar's three parts: the existing text ("Ready"), the file the next Save writes to,
// and the link. Widths follow the texts and the bar's width; a text that does not fit its part
// is cut and ends in "...".
void ShowStatusParts(HWND statusBar, const char* fileName, const char* linkText);

// The name without its folder.
const char* NameWithoutFolder(const char* path);
