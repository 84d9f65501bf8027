#include "view/glyph_resource.h"

#include <windows.h>

#include "toolkit/app_module.h"
#include "resources/resource_ids.h"

const GlyphTableBytes* FindGlyphTableResource() {
    const HMODULE module = gAppModule.Instance();
    const HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(IDR_GLYPH_TABLE), "Binary");
    if (info == nullptr || SizeofResource(module, info) < kGlyphTableBytes) return nullptr;
    const HGLOBAL loaded = LoadResource(module, info);
    if (loaded == nullptr) return nullptr;
    return static_cast<const GlyphTableBytes*>(LockResource(loaded));
}
