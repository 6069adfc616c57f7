#!/usr/bin/env bash
# Usage: setup.sh [run|test|all]
# Installs the Debian packages that one step needs, and only those:
#   run   build the programs and open the window (scripts/run.sh)
#   test  build everything and run every test (scripts/test.sh)
#   all   (the default) besides: clang and its tools, the fuzzers' runtime,
#         Xvfb for the window benchmark; what CI uses
# Works as root or through sudo.
set -euo pipefail

# The build folder configured for run holds everything cmake --install and
# cpack need (rsvg-convert draws the icon, help2man the manual pages).
run_packages=(build-essential cmake ninja-build pkg-config libcli11-dev nlohmann-json3-dev libspng-dev
    qt6-base-dev qt6-svg-dev librsvg2-bin help2man)
test_packages=("${run_packages[@]}"
    libgtest-dev libgmock-dev libbenchmark-dev imagemagick python3-pil fonts-dejavu-core
    desktop-file-utils)
all_packages=("${test_packages[@]}"
    clang libclang-rt-14-dev clang-format clang-tidy dpkg-dev file xvfb xauth xdotool)

case "${1:-all}" in
    run) packages=("${run_packages[@]}") ;;
    test) packages=("${test_packages[@]}") ;;
    all) packages=("${all_packages[@]}") ;;
    *)
        echo "setup: unknown step '$1' (run, test or all)" >&2
        exit 2
        ;;
esac

if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    echo "setup: run as root or install sudo" >&2
    exit 1
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep "install ok installed" >/dev/null || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
