# diff and duplicates: exit status like diff(1), what differs block by block, the groups of equal patches.
. "$(dirname "$0")/lib.sh"

max3=$QZ_CORPUS/qzl/valid_qzmax_3.qzl
qz5=$QZ_CORPUS/qzl/valid_qz5_2.qzl

# record FILE N: the N-th patch record of a library file (its length and body).
record() {
  local file=$1 n=$2 offset=160 i length
  for ((i = 1; ; ++i)); do
    length=$(od -An -tu1 -j "$offset" -N4 "$file" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }')
    if [ "$i" = "$n" ]; then
      tail -c +$((offset + 1)) "$file" | head -c $((length + 4))
      return
    fi
    offset=$((offset + 4 + length))
  done
}

# library OUT FILE:N...: a QZ-MAX library file of the given patch records, in order.
library() {
  local out=$1 item
  shift
  {
    signature "$max3"
    printf "\\x$(printf %02x $(($# >> 24 & 255)))\\x$(printf %02x $(($# >> 16 & 255)))"
    printf "\\x$(printf %02x $(($# >> 8 & 255)))\\x$(printf %02x $(($# & 255)))"
    head -c 124 /dev/zero
    for item in "$@"; do
      record "${item%:*}" "${item##*:}"
    done
  } >"$out"
}

# Equal files and patches: exit status 0.
run 0 diff "$max3" "$max3"
silent
[ -z "$OUT" ] || fail "equal libraries printed: $OUT"
run 0 diff "$max3:2" "$max3:2"
[ "$OUT" = "The patches are identical." ] || fail "equal patches: $OUT"

# One FX1 byte changed: the block, the offset and both values.
cp "$max3" changed.qzl
old=$(od -An -tu1 -j 180 -N1 "$max3" | tr -d ' ')
new=$((old ^ 1))
printf "\\x$(printf %02x "$new")" | dd of=changed.qzl bs=1 seek=180 conv=notrunc status=none
run 1 diff "$max3:1" changed.qzl:1
silent
[ "$OUT" = "PATCH FX1: 1 of 130 bytes differs
  offset 12: $old / $new" ] || fail "one FX1 byte: $OUT"
run 1 diff "$max3" changed.qzl
[ "$OUT" = $'1\tPATCH FX1' ] || fail "libraries with one FX1 byte changed: $OUT"

# Two different patches: blocks, then name and memos; libraries of different lengths.
run 1 diff "$max3:1" "$max3:2"
case "$OUT" in *'Name: "Lead {solo}" / "Clean"'*'Memo1: "Verse, bridge & solo!" / ""'*) ;; *) fail "patches 1 and 2: $OUT" ;; esac
library two.qzl "$max3:1" "$max3:2"
run 1 diff "$max3" two.qzl
[ "$OUT" = $'3\tonly in '"$max3" ] || fail "a longer library: $OUT"

# Data of the other model is compared only once converted.
run 2 diff "$max3:1" "$qz5:1"
says "Are you sure you want to convert this QZ-5 data to QZ-MAX data? No"
says "Conversion declined: nothing compared."
[ -z "$OUT" ] || fail "a declined conversion compared: $OUT"
run 1 --yes diff "$max3" "$qz5"
[ "$(echo "$OUT" | cut -f1 | tr '\n' ,)" = "1,2,3," ] || fail "converted QZ-5 library: $OUT"
run 0 --model qz5 diff "$qz5" "$qz5"
silent
# Both unconverted: two files of one model, compared as that model's data.
run 1 diff "$qz5:1" "$qz5:2"
case "$OUT" in "PATCH ASSIGN 1: "*) ;; *) fail "two QZ-5 patches on a QZ-MAX target: $OUT" ;; esac

# Trouble is status 2: usage, a patch the file does not hold, a file that cannot be read.
run 2 diff "$max3:0" "$max3:1"
says "patches count from 1"
run 2 diff "$max3:1" "$max3"
says "for both files or for neither"
run 2 diff "$max3:4" "$max3:1"
says "holds 3 patches; there is no patch 4."
run 2 diff "$max3" missing.qzl
says "This file could not be loaded."
run 2 diff "$max3" "$QZ_CORPUS/qzl/invalid_signature.qzl"
says "Cannot read files of this type."

# Duplicates: three groups, names and memos ignored unless the name is asked for.
"$QZML" --yes convert "$qz5" converted.qzl 2>/dev/null || fail "convert"
library groups.qzl "$max3:1" "$max3:2" converted.qzl:1 "$max3:1" converted.qzl:2 "$max3:3" converted.qzl:1
run 0 duplicates groups.qzl
silent
[ "$OUT" = $'1 Lead {solo}\t4 Lead {solo}\n2 Clean\t6 INIT PATCH\n3 Lead {solo}\t7 Lead {solo}' ] ||
  fail "duplicates: $OUT"
run 0 duplicates --include-name groups.qzl
[ "$OUT" = $'1 Lead {solo}\t4 Lead {solo}\n3 Lead {solo}\t7 Lead {solo}' ] || fail "duplicates with names: $OUT"
run 0 duplicates two.qzl
[ -z "$OUT" ] || fail "duplicates without any: $OUT"
run 0 duplicates "$qz5"
[ -z "$OUT" ] || fail "duplicates of a QZ-5 library: $OUT"
run 1 duplicates missing.qzl
says "This file could not be loaded."
