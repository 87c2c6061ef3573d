# read and write against the built-in simulated unit "QZ-MAX Simulator", which lives as long as one
# qzml run: a write is checked by its own --verify.
. "$(dirname "$0")/lib.sh"

SIM="QZ-MAX Simulator"
max3=$QZ_CORPUS/qzl/valid_qzmax_3.qzl

# A fresh unit: every user patch "INIT PATCH"; progress goes to stderr, one line per patch.
run 0 read --in "$SIM" --out "$SIM" --select 2,5-6 some.qzl
[ -z "$OUT" ] || fail "read printed on stdout: $OUT"
[ "$(echo "$ERR" | grep -c '^qzml: reading [0-9]*/3 User Patch')" = 3 ] || fail "progress: $ERR"
echo "$ERR" | grep -q "reading 2/3 User Patch 5" || fail "progress does not name the patch: $ERR"
run 0 list some.qzl
[ "$(echo "$OUT" | wc -l)" = 200 ] || fail "read --select gave no library of 200 patches"
run 0 --model qz5 read --in "$SIM" --out "$SIM" --temp temp.qzl
run 0 --model qz5 list temp.qzl
[ "$OUT" = $'1\tINIT PATCH\t\t\t\t' ] || fail "read --temp: $OUT"

# Writes, verified by reading back.
run 0 write --verify --in "$SIM" --out "$SIM" "$max3"
says "writing 3/3 User Patch 3"
says "verifying 3/3 User Patch 3"
says "every written block read back the same"
run 0 --device-id 32 write --verify --in "$SIM" --out "$SIM" --select 2 "$max3"
run 0 write --verify --in "$SIM" --out "$SIM" --temp 1 "$max3"
says "verifying 1/1 Temporary Patch"
run 0 --model qz5 write --verify --in "$SIM" --out "$SIM" "$QZ_CORPUS/qzl/valid_qz5_2.qzl"

# What cannot be written: more patches than the unit has, rows past the library.
run 0 export-smf "$max3" three.mid
run 0 import-smf three.mid big.qzl
run 1 --model qz5 write --in "$SIM" --out "$SIM" big.qzl
says "qzml: Conversion declined: nothing written."
run 1 --model qz5 --yes write --in "$SIM" --out "$SIM" big.qzl
says "The library holds 200 patches; the QZ-5 has 140 user patches."
# The temporary patch takes any patch of a library, however long.
run 0 --model qz5 --yes write --verify --in "$SIM" --out "$SIM" --temp 150 big.qzl
says "verifying 1/1 Temporary Patch"
run 1 write --in "$SIM" --out "$SIM" --select 4 "$max3"
says "Row 4 is beyond the library's 3 patches."
run 1 write --in "$SIM" --out "$SIM" --temp 9 "$max3"
says "Row 9 is beyond the library's 3 patches."
[ "$(echo "$ERR" | grep -c writing)" = 0 ] || fail "a refused write sent something"

# Ports that do not exist: exit status 1, no output file.
run 1 read --in "No Such Port" --out "$SIM" out.qzl
says "There is no MIDI input port \"No Such Port\""
run 1 read --in "$SIM" --out "No Such Port" out.qzl
says "There is no MIDI output port \"No Such Port\""
absent out.qzl

# cancel_after TEXT ARGS...: runs qzml ARGS, presses Ctrl+C once its stderr shows TEXT, and expects it
# to end soon with exit status 1; stderr is left in cancel.err.
cancel_after() {
  local text=$1 pid status
  shift
  "$QZML" "$@" >/dev/null 2>cancel.err &
  pid=$!
  for _ in $(seq 1 300); do
    grep -q "$text" cancel.err 2>/dev/null && break
    sleep 0.1
  done
  kill -INT "$pid"
  for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && { kill -KILL "$pid"; fail "qzml $* did not end after Ctrl+C"; }
  wait "$pid"
  status=$?
  [ "$status" = 1 ] || fail "cancelled qzml $*: exit status $status: $(cat cancel.err)"
}

# Ctrl+C cancels like the progress dialog's Cancel: the read saves nothing, the write stops sending.
cancel_after "reading 2/200" read --in "$SIM" --out "$SIM" cancelled.qzl
grep -q "Cancelled; nothing was saved." cancel.err || fail "cancel not reported: $(cat cancel.err)"
grep -q "reading 200/200" cancel.err && fail "the read went on after Ctrl+C"
absent cancelled.qzl
cancel_after "writing 2/200" write --in "$SIM" --out "$SIM" big.qzl
grep -q "Cancelled; the unit keeps the patches sent before." cancel.err || fail "cancel not reported: $(cat cancel.err)"
grep -q "writing 200/200" cancel.err && fail "the write went on after Ctrl+C"

# A library byte the unit cannot hold (above 7 bits, in patch 1's "PATCH FX1") never reaches a patch:
# loading keeps that byte's default, so what is written is sendable and --verify finds it read back the same.
cp "$max3" eighth-bit.qzl
printf '\205' | dd of=eighth-bit.qzl bs=1 seek=169 conv=notrunc status=none
run 0 write --verify --in "$SIM" --out "$SIM" eighth-bit.qzl
says "qzml: every written block read back the same."
