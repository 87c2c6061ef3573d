# import-zkl and import-qz3 over the whole corpus: valid files become library files holding their
# patches, invalid ones fail with "This file could not be loaded." and leave no file behind.
. "$(dirname "$0")/lib.sh"

check_import() { # command file
  local command=$1 file=$2 name
  name=$(basename "$(dirname "$file")")_$(basename "$file" | tr . _)
  case "$file" in
  */valid/*)
    run 0 "$command" "$file" "$name.qzl"
    silent
    [ "$(signature "$name.qzl")" = "QZMLibrarianFile0000QZM         " ] || fail "$name.qzl: no QZ-MAX library file"
    run 0 list "$file"
    local listed=$OUT
    run 0 list "$name.qzl"
    [ "$OUT" = "$listed" ] || fail "$name.qzl does not hold the patches of $file"
    ;;
  */invalid/*)
    run 1 "$command" "$file" "$name.qzl"
    says "qzml: This file could not be loaded."
    absent "$name.qzl"
    ;;
  esac
}

count=0
for file in "$QZ_CORPUS"/zkl/valid/* "$QZ_CORPUS"/zkl/invalid/*; do
  check_import import-zkl "$file"
  count=$((count + 1))
done
for file in "$QZ_CORPUS"/qz3/valid/* "$QZ_CORPUS"/qz3/invalid/*; do
  check_import import-qz3 "$file"
  count=$((count + 1))
done
[ "$count" -ge 20 ] || fail "only $count corpus files"

# Each importer takes only its own kind of file.
run 1 import-qz3 "$QZ_CORPUS/zkl/valid/three-patches.zkl" wrong.qzl
absent wrong.qzl
run 1 import-zkl "$QZ_CORPUS/qz3/valid/two-patches.mid" wrong.qzl
absent wrong.qzl

# A failed import leaves an existing file as it was.
echo "keep me" >kept.qzl
run 1 import-zkl "$QZ_CORPUS/zkl/invalid/truncated-record.zkl" kept.qzl
[ "$(cat kept.qzl)" = "keep me" ] || fail "kept.qzl was changed"

# Under the QZ-5 the imported QZ-MAX data becomes QZ-5 data only when the user agrees; without, nothing is
# written (QZ-MAX data under a QZ-5 signature would be a mislabelled file).
run 1 --model qz5 import-zkl "$QZ_CORPUS/zkl/valid/three-patches.zkl" declined.qzl
says "Are you sure you want to convert this QZ-MAX data to QZ-5 data? No"
says "qzml: Conversion declined: nothing written."
absent declined.qzl
run 0 import-zkl "$QZ_CORPUS/zkl/valid/three-patches.zkl" as-is.qzl
run 0 --model qz5 --yes import-zkl "$QZ_CORPUS/zkl/valid/three-patches.zkl" converted.qzl
[ "$(signature converted.qzl)" = "QZMLibrarianFile0000QZ5         " ] || fail "converted.qzl: no QZ-5 library file"
cmp -s as-is.qzl converted.qzl && fail "the QZ-5 import was not converted"
# Converting the unconverted import gives the same bytes as converting on import.
run 0 --model qzmax convert as-is.qzl max.qzl
run 0 --model qz5 --yes convert max.qzl converted-later.qzl
same converted.qzl converted-later.qzl

# An output file that cannot be made: "This file could not be saved.", exit status 1.
run 1 import-zkl "$QZ_CORPUS/zkl/valid/three-patches.zkl" "$QZ_WORK/no-such-folder/out.qzl"
says "qzml: This file could not be saved."
absent "$QZ_WORK/no-such-folder"
