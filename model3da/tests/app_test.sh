#!/usr/bin/env bash
# Exit codes and output of the model3da program on the seed files.
# Usage: app_test.sh MODEL3DA_PROGRAM CORPUS_DIR [RUNNER...]
# A RUNNER (Wine for a Windows build) starts the program.
set -u
tool=$1
corpus=$2
shift 2
runner=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
expect() {  # expected-code description command...
  local want=$1 what=$2
  shift 2
  "${runner[@]}" "$@" >"$work/out" 2>"$work/err"
  local got=$?
  if [ "$got" != "$want" ]; then
    echo "FAIL: $what: exit $got, wanted $want" >&2
    cat "$work/err" >&2
    failures=$((failures + 1))
  fi
}
expect 0 "check valid" "$tool" check "$corpus/car.3da"
expect 0 "info" "$tool" info "$corpus/car.3da"
grep -q "mat: paint.mat" "$work/out" || { echo "FAIL: info lacks the material" >&2; failures=$((failures + 1)); }
grep -q "static tree: 1032 bytes" "$work/out" || { echo "FAIL: info lacks the static tree" >&2; failures=$((failures + 1)); }
expect 0 "dump" "$tool" dump --json "$corpus/two_helpers.3da"
grep -q '"materialTableOffset": 658' "$work/out" || { echo "FAIL: dump lacks the header" >&2; failures=$((failures + 1)); }
# Names are bytes in the game's 8-bit code page, not UTF-8.
cp "$corpus/two_helpers.3da" "$work/latin.3da"
printf '\351' | dd of="$work/latin.3da" bs=1 seek=72 conv=notrunc status=none
expect 0 "dump of a non-UTF-8 name" "$tool" dump --json "$work/latin.3da"
expect 0 "info of a non-UTF-8 name" "$tool" info "$work/latin.3da"
head -c 300 "$corpus/car.3da" >"$work/cut.3da"
expect 1 "check truncated" "$tool" check "$work/cut.3da"
grep -q "materialTableOffset" "$work/err" || { echo "FAIL: no reason given" >&2; failures=$((failures + 1)); }
expect 1 "missing file" "$tool" info "$work/none.3da"
expect 2 "no subcommand" "$tool"
expect 2 "dump without --json" "$tool" dump "$corpus/car.3da"
expect 2 "unknown option" "$tool" check --bogus "$corpus/car.3da"
expect 0 "help" "$tool" --help
[ "$failures" = 0 ]
