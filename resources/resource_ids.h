#pragma once
// Identifiers shared by the resource script and the code.

#define IDR_MAINFRAME 128
#define IDR_GLYPH_TABLE 203

#include "char_editor_ids.h"
#include "frame_ids.h"
