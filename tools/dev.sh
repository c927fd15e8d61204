#!/usr/bin/env bash
# Sets up a Debian 12 machine (installing the packages that are missing), builds, and then
# starts the program ("run") or runs the whole test suite ("test").
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-translations-l10n libgl-dev
    fonts-liberation poppler-utils libbenchmark-dev clang-format clang
    mdbtools-dev libfreexl-dev liborcus-dev libboost-dev
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

cmake --preset default >/dev/null
cmake --build --preset default

case "${1:-}" in
run) exec ./build/src/tomaris ;;
test) exec ctest --preset default ;;
*) echo "usage: $0 run|test" >&2; exit 2 ;;
esac
