# Installs the Debian packages the build, the tests and the run need, when any is missing.
BREVANT_PACKAGES=(cmake make g++ clang libclang-rt-14-dev googletest
  g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine64
  xvfb x11-utils imagemagick socat procps file python3
  libcli11-dev nlohmann-json3-dev libstb-dev
  emscripten chromium
  help2man lintian dpkg-dev fakeroot man-db bash-completion
  libsqlite3-dev libpq-dev postgresql)

brevant_install_packages() {
  local missing=()
  local p
  for p in "${BREVANT_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
