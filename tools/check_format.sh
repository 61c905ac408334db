#!/usr/bin/env bash
# Fails, naming the files, when a C or C++ source of the repository is not in the committed .clang-format's
# shape. Fix with: clang-format -i FILE...
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c' 2>/dev/null || find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
[ ${#files[@]} -gt 0 ] || { echo "check_format: no sources found" >&2; exit 1; }
bad=$(clang-format --dry-run "${files[@]}" 2>&1 | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning:.*/\1/p' | sort -u)
if [ -n "$bad" ]; then
    echo "not in the committed format (clang-format -i to fix):" >&2
    echo "$bad" >&2
    exit 1
fi
echo "all ${#files[@]} sources in the committed format"
