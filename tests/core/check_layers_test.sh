#!/usr/bin/env bash
# Runs scripts/check-layers on small trees: each wrong include must fail the check with the file,
# the line and the include named; the right ones must pass.
set -u

here=$(cd "$(dirname "$0")" && pwd)
check="$here/../../scripts/check-layers"
source "$here/shell_checks.sh"

# tree FILE=LINE... : a fresh tree holding each file with its one line.
tree() {
  rm -rf "$work/tree"
  local spec
  for spec in "$@"; do
    mkdir -p "$work/tree/$(dirname "${spec%%=*}")"
    printf '%s\n' "${spec#*=}" >"$work/tree/${spec%%=*}"
  done
}

expect_refused() { # NAME EXPECTED-MESSAGE FILE=LINE...
  local name=$1 expected=$2
  shift 2
  tree "$@"
  if "$check" "$work/tree" 2>"$work/err"; then
    fail "$name: accepted"
  elif grep -qF -- "$expected" "$work/err"; then
    pass "$name"
  else
    fail "$name: said $(cat "$work/err")"
  fi
}

expect_accepted() { # NAME FILE=LINE...
  local name=$1
  shift
  tree "$@"
  if "$check" "$work/tree" 2>"$work/err"; then pass "$name"; else fail "$name: $(cat "$work/err")"; fi
}

expect_refused "view includes frame" 'view/screen_view.h:1: #include "frame/main_frame.h": view/ is below frame/' \
  'view/screen_view.h=#include "frame/main_frame.h"'
expect_refused "toolkit includes view" 'toolkit/window.cpp:1: #include "view/screen_view.h"' \
  'toolkit/window.cpp=#include "view/screen_view.h"'
expect_refused "frame includes app" 'frame/main_frame.cpp:1: #include "app/single_instance.h"' \
  'frame/main_frame.cpp=#include "app/single_instance.h"'
expect_refused "core includes the toolkit" 'document/screen_document.cpp:1: #include "toolkit/window.h"' \
  'document/screen_document.cpp=#include "toolkit/window.h"'
expect_refused "core includes windows.h" 'link/display_protocol.cpp:1: #include <windows.h>: the portable core includes a Windows header' \
  'link/display_protocol.cpp=#include <windows.h>'
expect_refused "renderer includes commctrl.h" 'render/preview_raster.h:1: #include <commctrl.h>' \
  'render/preview_raster.h=#include <commctrl.h>'
expect_refused "command line stands on the toolkit" 'cli/main.cpp:1: #include "toolkit/window.h": cli/ stands on the core only' \
  'cli/main.cpp=#include "toolkit/window.h"'
expect_refused "virtual module stands on the view" 'tools/vmodule/src/main.cpp:1: #include "view/preview_layout.h"' \
  'tools/vmodule/src/main.cpp=#include "view/preview_layout.h"'

expect_refused "the file reader includes windows.h" 'document/start_screen_io.cpp:1: #include <windows.h>: the portable core includes a Windows header' \
  'document/start_screen_io.cpp=#include <windows.h>'
expect_refused "formats include windows.h in quotes" 'formats/screen_json.cpp:1: #include "windows.h": the portable core includes a Windows header' \
  'formats/screen_json.cpp=#include "windows.h"'
expect_refused "a core header names a device context" 'render/preview_raster.h:2: HDC: the portable core names a window type' \
  'render/preview_raster.h=#pragma once
void DrawPreview(HDC dc);'
expect_refused "the editor takes a message parameter" 'document/screen_editor.h:1: WPARAM: the portable core names a window type' \
  'document/screen_editor.h=void TypeCode(WPARAM code);'
expect_refused "the editor returns a window result" 'document/screen_editor.cpp:1: LRESULT: the portable core names a window type' \
  'document/screen_editor.cpp=LRESULT Release() { return 0; }'
expect_refused "the protocol keeps a window handle" 'link/display_protocol.h:1: HWND: the portable core names a window type' \
  'link/display_protocol.h=struct Owner { HWND window; };'
for front in cli/screen_json.h view/screen_view.h frame/main_frame.h app/run_application.h toolkit/window.h web/bindings.h; do
  expect_refused "the core includes ${front%%/*}/" "formats/code_export.cpp:1: #include \"$front\": the core includes only the core" \
    "formats/code_export.cpp=#include \"$front\""
done
expect_refused "the web page stands on the view" 'web/bindings.cpp:1: #include "view/screen_view.h": web/ stands on the core only' \
  'web/bindings.cpp=#include "view/screen_view.h"'
expect_refused "the web page stands on the command line" 'web/bindings.cpp:1: #include "cli/support/file_access.h": web/ stands on the core only' \
  'web/bindings.cpp=#include "cli/support/file_access.h"'

expect_accepted "each layer includes those below" \
  'app/win_main.cpp=#include "frame/main_frame.h"' \
  'frame/main_frame.h=#include "view/screen_view.h"' \
  'view/screen_view.h=#include "toolkit/window.h"' \
  'toolkit/window.h=#include <windows.h>' \
  'toolkit/app_module.cpp=#include "document/screen_document.h"' \
  'view/glyph_resource.cpp=#include "resources/resource_ids.h"' \
  'cli/main.cpp=#include "document/start_screen_file.h"' \
  'cli/export.cpp=#include "formats/screen_json.h"' \
  'web/bindings.cpp=#include "document/screen_editor.h"' \
  'formats/screen_json.cpp=#include "document/screen_document.h"' \
  'render/preview_input.cpp=#include "document/screen_editor.h"' \
  'frame/start_screen_io.cpp=#include <windows.h>' \
  'tools/vmodule/src/main.cpp=#include "render/glyph_dots.h"' \
  'tests/win/main_frame_test.cpp=#include "app/single_instance.h"'
expect_accepted "the serial channel alone in the core may use the system" \
  'link/serial_channel.h=#include <windows.h>' \
  'link/serial_channel.cpp=HANDLE OpenPort(DWORD error);'
expect_accepted "a comment in the core may name a window type" \
  'document/screen_editor.h=// Presses arrive as cells, never as an HWND and an LPARAM.'

finish "layer check"
