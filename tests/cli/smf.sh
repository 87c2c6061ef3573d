# import-smf and export-smf: what the Main window's Import SMF and Export SMF do, through files.
. "$(dirname "$0")/lib.sh"

max3=$QZ_CORPUS/qzl/valid_qzmax_3.qzl

# Export the three patches, import them into a fresh Main window of 200.
run 0 export-smf "$max3" three.mid
silent
[ "$(head -c 4 three.mid)" = MThd ] || fail "three.mid is no Standard MIDI File"
run 0 import-smf three.mid three.qzl
silent
run 0 list three.qzl
[ "$(echo "$OUT" | wc -l)" = 200 ] || fail "import-smf gave no library of 200 patches"
expected=$'1\tLead {solo}\n2\tClean\n3\tINIT PATCH'
[ "$(echo "$OUT" | head -3 | cut -f1-2)" = "$expected" ] || fail "imported: $(echo "$OUT" | head -3)"
[ "$(echo "$OUT" | tail -197 | cut -f2 | sort -u)" = "INIT PATCH" ] || fail "rows 4 to 200 are not INIT PATCH"

# The same rows of the imported window export to the same bytes.
run 0 export-smf --select 1-3 three.qzl again.mid
same three.mid again.mid

# Selected rows land on their own patch numbers.
run 0 export-smf --select 3,2 "$max3" two.mid
run 0 import-smf two.mid two.qzl
run 0 list two.qzl
[ "$(echo "$OUT" | head -3 | cut -f2 | tr '\n' ,)" = "INIT PATCH,Clean,INIT PATCH," ] || fail "selected: $OUT"

# A file made for another device ID never becomes a library of blank patches: the import fails and says
# what the file holds; with that device ID it imports.
run 1 --device-id 1 import-smf three.mid other-id.qzl
says "qzml: This file holds patches for device ID 17 (QZ-MAX); the device ID in use is 1."
absent other-id.qzl
run 0 --device-id 5 export-smf "$max3" id5.mid
run 1 import-smf id5.mid id5.qzl
says "This file holds patches for device ID 5 (QZ-MAX); the device ID in use is 17."
absent id5.qzl
run 0 --device-id 5 import-smf id5.mid id5.qzl
run 0 list id5.qzl
[ "$(echo "$OUT" | head -2 | cut -f2 | tr '\n' ,)" = "Lead {solo},Clean," ] || fail "device ID 5: $OUT"

# QZ-5 data sets are never filed as QZ-MAX data: the conversion question decides.
run 0 --model qz5 export-smf "$QZ_CORPUS/qzl/valid_qz5_2.qzl" from5.mid
run 1 import-smf from5.mid from5.qzl
says "Are you sure you want to convert this QZ-5 data to QZ-MAX data? No"
says "qzml: Conversion declined: nothing written."
absent from5.qzl
run 0 --yes import-smf from5.mid from5.qzl
[ "$(signature from5.qzl)" = "QZMLibrarianFile0000QZM         " ] || fail "from5.qzl is no QZ-MAX file"
run 0 --model qz5 list "$QZ_CORPUS/qzl/valid_qz5_2.qzl"
names5=$(echo "$OUT" | head -2 | cut -f2)
run 0 list from5.qzl
[ "$(echo "$OUT" | head -2 | cut -f2)" = "$names5" ] || fail "converted import lost the names: $OUT"

# A QZ-5 window has 140 rows, and QZ-5 data sets omit what the QZ-5 does not have.
run 0 --model qz5 export-smf "$QZ_CORPUS/qzl/valid_qz5_2.qzl" qz5.mid
run 0 --model qz5 import-smf qz5.mid qz5.qzl
run 0 --model qz5 list qz5.qzl
[ "$(echo "$OUT" | wc -l)" = 140 ] || fail "a QZ-5 import-smf gave no library of 140 patches"
[ "$(stat -c %s qz5.mid)" -lt "$(stat -c %s two.mid)" ] || fail "QZ-5 export not smaller than QZ-MAX export of as many patches"

# Standard MIDI Files of the corpus: the valid ones with data sets import, valid ones without any say so,
# the broken ones fail without output.
run 0 import-smf "$QZ_CORPUS"/smf/valid-export-two-patches.mid valid.qzl
run 0 list valid.qzl
[ "$(echo "$OUT" | sed -n 5p | cut -f2)" = "Crunch {A}" ] || fail "valid-export-two-patches: $OUT"
# (valid-one-data-set.mid holds one data set outside the user patches.)
for file in "$QZ_CORPUS"/smf/valid-{zero-tracks,running-status,one-data-set}.mid; do
  run 1 import-smf "$file" nothing.qzl
  says "qzml: This file holds no patches for the QZ-MAX or the QZ-5."
  absent nothing.qzl
done
for file in "$QZ_CORPUS"/smf/invalid-*.mid; do
  run 1 import-smf "$file" invalid.qzl
  says "qzml: This file could not be loaded."
  absent invalid.qzl
done
run 1 import-smf "$QZ_WORK/missing.mid" invalid.qzl
says "qzml: This file could not be loaded."
absent invalid.qzl

# Export failures: exit status 1, the reason, no file.
run 1 export-smf --select 4 "$max3" bad.mid
says "Row 4 is beyond the library's 3 patches."
absent bad.mid
run 1 --model qz5 export-smf three.qzl bad.mid
says "Are you sure you want to convert this QZ-MAX data to QZ-5 data? No"
says "qzml: Conversion declined: nothing written."
absent bad.mid
run 1 --model qz5 --yes export-smf three.qzl bad.mid
says "The library holds 200 patches; the QZ-5 has 140 user patches."
absent bad.mid
run 1 export-smf "$QZ_CORPUS/qzl/valid_empty.qzl" bad.mid
says "The library holds no patches."
absent bad.mid
run 1 export-smf "$QZ_CORPUS/qzl/invalid_signature.qzl" bad.mid
says "qzml: Cannot read files of this type."
absent bad.mid
run 1 export-smf "$max3" "$QZ_WORK/no-such-folder/out.mid"
says "qzml: This file could not be saved."
