#!/usr/bin/env bash
# Packs this build's release archive into a scratch folder and checks it.
#   package_test.sh BUILD_DIR DRIVER_EXE SOURCE_DIR
set -u
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$1" && cpack -B "$scratch" >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log"; exit 1; }
zip=$(ls "$scratch"/brevant-*.zip)
"$(dirname "$0")/check_package.sh" "$zip" "$2" "$3/README.md" "$3/LICENSE"
