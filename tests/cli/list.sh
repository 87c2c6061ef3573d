# `list`: one tab-separated line per patch, whatever kind of file it is given.
. "$(dirname "$0")/lib.sh"

T=$'\t'
expect() {
  [ "$OUT" = "$1" ] || fail "list printed:
$OUT
expected:
$1"
}

run 0 list "$QZ_CORPUS/zkl/valid/three-patches.zkl"
silent
expect "1${T}Lead Tone${T}first memo${T}${T}${T}fourth
2${T}Clean${T}${T}${T}${T}
3${T}Out Of Range${T}${T}${T}${T}"

run 0 list "$QZ_CORPUS/qz3/valid/two-patches.mid"
silent
expect "1${T}Bright}        ~${T}${T}${T}${T}
2${T}Two${T}${T}${T}${T}"

run 0 list "$QZ_CORPUS/qzl/valid_qzmax_3.qzl"
silent
expect "1${T}Lead {solo}${T}Verse, bridge & solo!${T}${T}  spaced  ${T}
2${T}Clean${T}${T}${T}${T}
3${T}INIT PATCH${T}${T}${T}${T}last"

# A library of the other model is listed as it is; the declined question is shown.
run 0 list "$QZ_CORPUS/qzl/valid_qz5_2.qzl"
says "Are you sure you want to convert this QZ-5 data to QZ-MAX data? No"
[ "$(echo "$OUT" | wc -l)" = 2 ] || fail "two patches expected: $OUT"
run 0 --model qz5 list "$QZ_CORPUS/qzl/valid_qz5_2.qzl"
silent

# Empty files list nothing.
run 0 list "$QZ_CORPUS/zkl/valid/empty.zkl"
[ -z "$OUT" ] || fail "empty.zkl listed: $OUT"
run 0 list "$QZ_CORPUS/qzl/valid_empty.qzl"
[ -z "$OUT" ] || fail "valid_empty.qzl listed: $OUT"

# Failures: exit status 1 and the program's own message, nothing on stdout.
run 1 list "$QZ_WORK/no-such-file.qzl"
says "qzml: This file could not be loaded."
[ -z "$OUT" ] || fail "a failed list printed $OUT"
run 1 list "$QZ_CORPUS/qzl/invalid_signature.qzl"
says "qzml: Cannot read files of this type."
run 1 list "$QZ_CORPUS/qzl/invalid_truncated_body.qzl"
says "qzml: This file could not be loaded."
[ -z "$OUT" ] || fail "a failed list printed $OUT"
run 1 list "$QZ_CORPUS/qz3/invalid/not-smf.mid"
says "qzml: Cannot read files of this type."
run 1 list "$QZ_CORPUS"
