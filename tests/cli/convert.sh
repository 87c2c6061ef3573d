# convert: load, answer the conversion question from --yes, save for --model; output only on success.
. "$(dirname "$0")/lib.sh"

max3=$QZ_CORPUS/qzl/valid_qzmax_3.qzl
qz5_2=$QZ_CORPUS/qzl/valid_qz5_2.qzl

# The saver writes exactly the bytes of the stored files.
run 0 convert "$max3" max3.qzl
silent
same "$max3" max3.qzl
run 0 --model qz5 convert "$qz5_2" qz5_2.qzl
silent
same "$qz5_2" qz5_2.qzl
run 0 convert "$QZ_CORPUS/qzl/valid_empty.qzl" empty.qzl
same "$QZ_CORPUS/qzl/valid_empty.qzl" empty.qzl

# Declined: nothing is written (QZ-MAX data under a QZ-5 signature would be a mislabelled file), and an
# existing output stays as it was.
run 1 --model qz5 convert "$max3" declined.qzl
says "Are you sure you want to convert this QZ-MAX data to QZ-5 data? No"
says "qzml: Conversion declined: nothing written."
absent declined.qzl
cp "$qz5_2" declined.qzl
run 1 --model qz5 convert "$max3" declined.qzl
same "$qz5_2" declined.qzl
rm declined.qzl

# Agreed: the data is converted, and back again to QZ-MAX it is a QZ-MAX file with the same names.
run 0 --model qz5 --yes convert "$max3" to5.qzl
says "Are you sure you want to convert this QZ-MAX data to QZ-5 data? Yes."
cmp -s <(tail -c +161 "$max3") <(tail -c +161 to5.qzl) && fail "agreed conversion changed nothing"
run 0 --yes convert to5.qzl back.qzl
[ "$(signature back.qzl)" = "QZMLibrarianFile0000QZM         " ] || fail "back.qzl is no QZ-MAX file"
run 0 list "$max3"
names=$(echo "$OUT" | cut -f1-2)
run 0 list back.qzl
[ "$(echo "$OUT" | cut -f1-2)" = "$names" ] || fail "names changed on the way to the QZ-5 and back"

# Converting over its own input is safe.
cp "$max3" self.qzl
run 0 --model qz5 --yes convert self.qzl self.qzl
same to5.qzl self.qzl

# Failures: exit status 1, the message, no output; an existing output stays as it was.
for bad in invalid_signature invalid_short_header invalid_zero_length invalid_count_too_large; do
  run 1 convert "$QZ_CORPUS/qzl/$bad.qzl" "$bad.qzl"
  says "qzml: Cannot read files of this type."
  absent "$bad.qzl"
done
for bad in invalid_truncated_body invalid_huge_length; do
  run 1 convert "$QZ_CORPUS/qzl/$bad.qzl" "$bad.qzl"
  says "qzml: This file could not be loaded."
  absent "$bad.qzl"
done
run 1 convert "$QZ_WORK/missing.qzl" missing-out.qzl
says "qzml: This file could not be loaded."
absent missing-out.qzl

cp "$max3" kept.qzl
run 1 convert "$QZ_CORPUS/qzl/invalid_truncated_body.qzl" kept.qzl
same "$max3" kept.qzl

mkdir folder.qzl
run 1 convert "$max3" folder.qzl
says "qzml: This file could not be saved."
