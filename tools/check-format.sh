#!/usr/bin/env bash
# Fails when a C++ source of the tree differs from what the repository's .clang-format makes of it.
# `tools/check-format.sh --fix` formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends clang-format
fi
if [ "${1:-}" = "--fix" ]; then
  git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i
else
  git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
fi
