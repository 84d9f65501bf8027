#pragma once
#include "document/screen_editor.h"

// Mouse input in the preview's pixels, hit-tested by the preview geometry and applied by the
// editing rules. Returns true while a drag is on: the caller keeps the mouse until the release.
bool PressAt(ScreenEditor& editor, int x, int y);
void MoveTo(ScreenEditor& editor, int x, int y);
