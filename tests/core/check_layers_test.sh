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

expect_accepted "each layer includes those below" \
  'app/win_main.cpp=#include "frame/main_frame.h"' \
  'frame/main_frame.h=#include "view/screen_view.h"' \
  'view/screen_view.h=#include "toolkit/window.h"' \
  'toolkit/window.h=#include <windows.h>' \
  'toolkit/app_module.cpp=#include "document/screen_document.h"' \
  'view/glyph_resource.cpp=#include "resources/resource_ids.h"' \
  'cli/main.cpp=#include "document/start_screen_file.h"' \
  'tools/vmodule/src/main.cpp=#include "render/glyph_dots.h"' \
  'tests/win/main_frame_test.cpp=#include "app/single_instance.h"'
expect_accepted "the core's Win32 adapters may use the system" \
  'link/serial_channel.h=#include <windows.h>' \
  'document/start_screen_io.cpp=#include <windows.h>'

finish "layer check"
