# Sourced by the scripts: installs, with apt-get, whatever this machine lacks.
# Only missing commands trigger an install, so a ready machine is left alone.

tw_need() {  # tw_need <command-or-path> <package>...
  local probe=$1
  shift
  if [ "${probe#/}" != "$probe" ]; then
    [ -e "$probe" ] && return 0
  else
    command -v "$probe" >/dev/null 2>&1 && return 0
  fi
  TW_MISSING_PACKAGES="$TW_MISSING_PACKAGES $*"
}

tw_install_missing() {
  TW_MISSING_PACKAGES=""
  tw_need cmake cmake
  tw_need ninja ninja-build
  tw_need g++ g++
  tw_need python3 python3
  tw_need /usr/src/googletest/CMakeLists.txt googletest
  tw_need /usr/include/gtest/gtest.h libgtest-dev
  tw_need /usr/include/nlohmann/json.hpp nlohmann-json3-dev
  tw_need x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix
  tw_need x86_64-w64-mingw32-windres binutils-mingw-w64-x86-64
  tw_need /usr/lib/wine/wine64 wine wine64
  tw_need wineserver wine
  tw_need /usr/share/wine/fonts/tahoma.ttf fonts-wine
  tw_need Xvfb xvfb
  tw_need xdotool xdotool
  tw_need xclip xclip
  tw_need import imagemagick
  tw_need flock util-linux
  tw_need pulseaudio pulseaudio
  tw_need pacat pulseaudio-utils
  for extra in "$@"; do tw_need "${extra%%=*}" "${extra#*=}"; done
  [ -z "$TW_MISSING_PACKAGES" ] && return 0
  echo "Installing:$TW_MISSING_PACKAGES"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq >/dev/null
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $TW_MISSING_PACKAGES >/dev/null
}
