#!/usr/bin/env bash
# Installs what the two builds need, and nothing when everything is there.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_file() { [ -e "$1" ]; }
have_glob() { compgen -G "$1" >/dev/null; }

have_cmd g++ || need+=(g++)
have_cmd cmake || need+=(cmake)
have_cmd ninja || need+=(ninja-build)
have_file /usr/src/googletest/CMakeLists.txt || need+=(googletest)
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
have_file /usr/share/mingw-w64/include/windows.h || have_file /usr/x86_64-w64-mingw32/include/windows.h || need+=(mingw-w64-x86-64-dev)
have_cmd wine || need+=(wine)
have_file /usr/lib/wine/wine64 || need+=(wine64)
have_cmd Xvfb || need+=(xvfb)
have_cmd xvfb-run || need+=(xvfb)
have_cmd xauth || need+=(xauth)
# ImageMagick's import photographs the X display for the toolkit's screenshot test.
have_cmd import || need+=(imagemagick)
# Wine's own fonts (Marlett and the rest), so that window frames and symbols draw as on Windows.
have_file /usr/share/wine/fonts/marlett.ttf || need+=(fonts-wine)
# icongen compresses the icon's PNG images with the build machine's zlib.
have_file /usr/include/zlib.h || need+=(zlib1g-dev)
# Fuzzers (clang's libFuzzer with ASan/UBSan), ThreadSanitizer runtime for GCC, benchmarks.
have_cmd clang++ || need+=(clang)
have_glob "/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" || need+=(libclang-rt-14-dev)
have_file /usr/lib/x86_64-linux-gnu/libtsan.so.2 || need+=(libtsan2)
have_file /usr/include/spdlog/spdlog.h || need+=(libspdlog-dev)

if [ ${#need[@]} -eq 0 ]; then
    exit 0
fi

echo "deps: installing ${need[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${need[@]}" >/dev/null
