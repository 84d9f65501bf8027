#pragma once
#include <cstddef>

#include "link/display_protocol.h"
#include "link/link_settings.h"

inline constexpr size_t kLinkTextCapacity = 96;
inline constexpr size_t kStoreReportCapacity = 320;
inline constexpr char kStoreReportCaption[] = "Write to Display";

using LinkText = char[kLinkTextCapacity];

// The status bar's link part after a mirror: "COM3 19200" when it went through, or why
// mirroring is now off. A skipped mirror leaves the text alone.
void DescribeMirror(const TransferResult& result, const LinkSettings& settings, LinkText& text);

// The link part once the port dialog has switched mirroring back on.
void DescribeMirrorEnabled(const LinkSettings& settings, LinkText& text);

// The link part after "Write to Display", whichever way it went.
void DescribeStore(const TransferResult& result, const LinkSettings& settings, LinkText& text);

// The message for a store that did not reach the module: the port, what failed and the
// system's reason; false for a store that went through.
bool StoreFailureReport(const TransferResult& result, const LinkSettings& settings, const char* reason,
                        char (&report)[kStoreReportCapacity]);
