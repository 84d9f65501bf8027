# Whether this host can execute 32-bit x86 code. Some virtual machines run 64-bit user code
# only; there the Windows tests run on the 64-bit build of the same sources.
brevant_host_runs_32bit() {
  [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

# The configure/build/test preset whose Windows executables Wine can run here.
brevant_runnable_windows_preset() {
  if brevant_host_runs_32bit; then echo windows; else echo windows64; fi
}

# Where only 64-bit code runs, Debian's wine launcher would still pick the 32-bit loader when
# wine32 is installed: put launchers for the 64-bit one first on PATH.
brevant_use_runnable_wine() {
  brevant_host_runs_32bit && return 0
  local bin="$1/bin"
  mkdir -p "$bin"
  local name
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' >"$bin/$name"
    chmod +x "$bin/$name"
  done
  export PATH="$bin:$PATH"
}

# The Wine prefix architecture that runs here.
brevant_wine_arch() {
  # BREVANT_WINEARCH=win64 asks for a prefix that runs both builds (the benchmarks compare them).
  if [ -n "${BREVANT_WINEARCH:-}" ]; then echo "$BREVANT_WINEARCH"
  elif brevant_host_runs_32bit; then echo win32; else echo win64; fi
}

# Fails with the reason when the program is 32-bit and this host cannot execute it.
brevant_check_runnable() {
  brevant_host_runs_32bit && return 0
  file -b "$1" 2>/dev/null | grep -q "PE32 executable" || return 0
  echo "This host cannot execute 32-bit code: build and run $1 with the windows64 preset instead." >&2
  return 1
}
