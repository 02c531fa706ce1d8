#!/usr/bin/env bash
# Installs what the build, the tests and the run need on a Debian machine, skipping what is there.
# Usage: scripts/install-deps.sh [build|test|run|fuzz]...   (no argument: everything)
set -euo pipefail
want=("$@")
[ ${#want[@]} -gt 0 ] || want=(build test run fuzz)

pkgs=(cmake make g++ g++-mingw-w64-x86-64 googletest)
for w in "${want[@]}"; do
  case "$w" in
    build) ;;
    test | run) pkgs+=(wine wine64 xvfb xauth fonts-wine fonts-liberation imagemagick x11-utils) ;;
    fuzz) pkgs+=(clang libclang-rt-14-dev) ;;
    *) echo "unknown part: $w" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi
