# import-syx and export-syx: raw exclusive messages, with the SMF import's filter and the SMF export's bytes.
. "$(dirname "$0")/lib.sh"

max3=$QZ_CORPUS/qzl/valid_qzmax_3.qzl

# The same patches as SMF and as .syx import to the same library.
run 0 export-syx "$max3" three.syx
silent
[ "$(head -c 1 three.syx | od -An -tx1 | tr -d ' ')" = f0 ] || fail "three.syx does not start with F0"
run 0 export-smf "$max3" three.mid
run 0 import-syx three.syx from-syx.qzl
silent
run 0 import-smf three.mid from-smf.qzl
same from-syx.qzl from-smf.qzl
run 0 list from-syx.qzl
[ "$(echo "$OUT" | wc -l)" = 200 ] || fail "import-syx gave no library of 200 patches"
[ "$(echo "$OUT" | head -3 | cut -f2 | tr '\n' ,)" = "Lead {solo},Clean,INIT PATCH," ] || fail "imported: $OUT"

# Exported again from the imported rows: the same bytes. Memos do not travel in data sets.
run 0 export-syx --select 1-3 from-syx.qzl again.syx
same three.syx again.syx
run 1 diff "$max3:1" from-syx.qzl:1
[ "$OUT" = $'Memo1: "Verse, bridge & solo!" / ""\nMemo3: "  spaced  " / ""' ] || fail "round trip: $OUT"

# Selected rows; the QZ-5's 140 rows and shorter data sets.
run 0 export-syx --select 2 "$max3" two.syx
[ "$(stat -c %s two.syx)" -lt "$(stat -c %s three.syx)" ] || fail "one patch is not less than three"
run 0 --model qz5 export-syx "$QZ_CORPUS/qzl/valid_qz5_2.qzl" qz5.syx
run 0 --model qz5 import-syx qz5.syx qz5.qzl
run 0 --model qz5 list qz5.qzl
[ "$(echo "$OUT" | wc -l)" = 140 ] || fail "a QZ-5 import-syx gave no library of 140 patches"

# The SMF import's filter and messages: another device ID's file says what it holds, the other model's data
# are filed only converted.
run 1 import-syx "$QZ_CORPUS/syx/invalid-other-device-id.syx" other-id.qzl
says "qzml: This file holds patches for device ID 5 (QZ-MAX); the device ID in use is 17."
absent other-id.qzl
run 0 --device-id 5 import-syx "$QZ_CORPUS/syx/invalid-other-device-id.syx" other-id.qzl
run 1 import-syx "$QZ_CORPUS/syx/valid-qz5-one-patch.syx" from5.qzl
says "Are you sure you want to convert this QZ-5 data to QZ-MAX data? No"
says "qzml: Conversion declined: nothing written."
absent from5.qzl
run 0 --yes import-syx "$QZ_CORPUS/syx/valid-qz5-one-patch.syx" from5.qzl
run 0 list from5.qzl
[ "$(echo "$OUT" | sed -n 2p | cut -f2)" = "Clean" ] || fail "converted .syx import: $OUT"

# Malformed pieces are skipped and counted; a file with nothing usable fails and writes nothing.
run 0 import-syx "$QZ_CORPUS/syx/valid-truncated-last-message.syx" cut.qzl
says "qzml: 1 malformed message was skipped."
run 0 list cut.qzl
[ "$(echo "$OUT" | head -1 | cut -f2)" = "Lead {solo}" ] || fail "complete messages of a cut file: $OUT"
run 0 import-syx "$QZ_CORPUS/syx/valid-stray-bytes-and-missing-f7.syx" stray.qzl
says "qzml: 3 malformed messages were skipped."
for file in "$QZ_CORPUS"/syx/valid-*.syx; do
  run 0 --yes import-syx "$file" valid.qzl
done
for file in "$QZ_CORPUS"/syx/invalid-*.syx; do
  run 1 import-syx "$file" invalid.qzl
  absent invalid.qzl
done
run 1 import-syx "$QZ_CORPUS/syx/invalid-text.syx" invalid.qzl
says "qzml: 1 malformed message was skipped."
says "qzml: This file holds no patches for the QZ-MAX or the QZ-5."
run 1 import-syx "$QZ_CORPUS/syx/invalid-empty.syx" invalid.qzl
says "qzml: This file holds no patches for the QZ-MAX or the QZ-5."
run 1 import-syx missing.syx invalid.qzl
says "This file could not be loaded."
absent invalid.qzl

# Export failures: exit status 1, the reason, no file.
run 1 export-syx --select 4 "$max3" bad.syx
says "Row 4 is beyond the library's 3 patches."
absent bad.syx
run 1 export-syx "$max3" "$QZ_WORK/no-such-folder/out.syx"
says "This file could not be saved."
