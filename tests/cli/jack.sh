# The real MIDI path: `qzml simulate` on virtual JACK ports, reached by other qzml runs through the
# JACK server that tools/test starts. Without a server the test is skipped (status 77), unless
# QZ_REQUIRE_JACK is set.
. "$(dirname "$0")/lib.sh"

if ! timeout 20 "$QZML" --midi-api jack ports >/dev/null 2>&1; then
  [ -n "${QZ_REQUIRE_JACK:-}" ] && fail "no JACK server is running"
  echo "no JACK server is running: skipped"
  exit 77
fi

sim_pid=""
stop_sim() {
  if [ -n "$sim_pid" ]; then
    kill -TERM "$sim_pid" 2>/dev/null
    local i
    for i in $(seq 1 100); do kill -0 "$sim_pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$sim_pid" 2>/dev/null
    wait "$sim_pid" 2>/dev/null
    sim_status=$?
    sim_pid=""
  fi
}
trap stop_sim EXIT

# start_sim ARGS...: runs `qzml ARGS simulate ...` in the background and waits for its port lines;
# leaves the names in $SIM_IN (for --in) and $SIM_OUT (for --out).
start_sim() {
  rm -f sim.out sim.err
  "$QZML" "$@" >sim.out 2>sim.err &
  sim_pid=$!
  local i
  for i in $(seq 1 100); do
    [ "$(grep -c . sim.out 2>/dev/null)" -ge 2 ] && break
    kill -0 "$sim_pid" 2>/dev/null || fail "simulate ended: $(cat sim.err)"
    sleep 0.1
  done
  SIM_IN=$(grep -m1 $'^in\t' sim.out | cut -f2-)
  SIM_OUT=$(grep -m1 $'^out\t' sim.out | cut -f2-)
  [ -n "$SIM_IN" ] && [ -n "$SIM_OUT" ] || fail "simulate named no ports: $(cat sim.out sim.err)"
}

# The simulated unit's ports are listed by `ports` while it runs, and gone when it ends.
start_sim --midi-api jack simulate --name "qzml test unit" --memory memory.qzl
case "$SIM_IN $SIM_OUT" in *"qzml test unit"*) ;; *) fail "ports not named after --name: $SIM_IN, $SIM_OUT" ;; esac
run 0 --midi-api jack ports
echo "$OUT" | grep -qxF "in	$SIM_IN" || fail "ports does not list $SIM_IN: $OUT"
echo "$OUT" | grep -qxF "out	$SIM_OUT" || fail "ports does not list $SIM_OUT: $OUT"
stop_sim
[ "$sim_status" = 0 ] || fail "simulate ended with status $sim_status: $(cat sim.err)"
run 0 --midi-api jack ports
echo "$OUT" | grep -qF "$SIM_IN" && fail "$SIM_IN is still listed"

# At exit its memory was saved: all user patches, "INIT PATCH" in a fresh unit.
run 0 list memory.qzl
[ "$(echo "$OUT" | wc -l)" = 200 ] || fail "memory.qzl does not hold 200 patches"
[ "$(echo "$OUT" | cut -f2 | sort -u)" = "INIT PATCH" ] || fail "a fresh unit holds other patches"

# A memory file that cannot be loaded is reported and left alone.
echo "not a library" >bad-memory.qzl
run 1 --midi-api jack simulate --memory bad-memory.qzl
says "Cannot read files of this type."
[ "$(cat bad-memory.qzl)" = "not a library" ] || fail "bad-memory.qzl was overwritten"

# Write and verify three patches through the server, read them back, and find them in the unit's memory
# after it ended and when it starts again from that memory.
max3=$QZ_CORPUS/qzl/valid_qzmax_3.qzl
run 0 list "$max3"
names=$(echo "$OUT" | cut -f1-2)
start_sim --midi-api jack simulate --memory memory.qzl
run 0 --midi-api jack write --verify --in "$SIM_IN" --out "$SIM_OUT" "$max3"
says "every written block read back the same"
run 0 --midi-api jack read --in "$SIM_IN" --out "$SIM_OUT" --select 1-3 back.qzl
run 0 list back.qzl
[ "$(echo "$OUT" | head -3 | cut -f1-2)" = "$names" ] || fail "read back: $OUT"
run 0 --midi-api jack write --verify --in "$SIM_IN" --out "$SIM_OUT" --temp 2 "$max3"
run 0 --midi-api jack read --in "$SIM_IN" --out "$SIM_OUT" --temp temp.qzl
run 0 list temp.qzl
[ "$(echo "$OUT" | cut -f2)" = Clean ] || fail "temporary patch: $OUT"
stop_sim
[ "$sim_status" = 0 ] || fail "simulate ended with status $sim_status: $(cat sim.err)"
run 0 list memory.qzl
[ "$(echo "$OUT" | head -3 | cut -f1-2)" = "$names" ] || fail "memory.qzl: $(echo "$OUT" | head -3)"

start_sim --midi-api jack simulate --memory memory.qzl
run 0 --midi-api jack read --in "$SIM_IN" --out "$SIM_OUT" --select 1-3 again.qzl
run 0 list again.qzl
[ "$(echo "$OUT" | head -3 | cut -f1-2)" = "$names" ] || fail "the memory was not loaded: $OUT"
stop_sim

# A unit of the other model does not answer as the target model: code 4's message, no file.
start_sim --model qz5 --midi-api jack simulate
run 1 --midi-api jack read --in "$SIM_IN" --out "$SIM_OUT" --select 1 wrong-model.qzl
says "qzml: It appears that the QZ-MAX is unconnected or connected incorrectly. Please check the connections."
absent wrong-model.qzl
run 1 --midi-api jack write --verify --in "$SIM_IN" --out "$SIM_OUT" "$max3"
says "It appears that the QZ-MAX is unconnected"
[ "$(echo "$ERR" | grep -c writing)" = 0 ] || fail "sent to a unit that did not answer: $ERR"
stop_sim

# A unit on device ID 5 while qzml asks on 17: it is not taken for the unit, code 4's message, no file.
start_sim --device-id 5 --midi-api jack simulate
run 1 --midi-api jack read --in "$SIM_IN" --out "$SIM_OUT" --select 1 other-id.qzl
says "qzml: It appears that the QZ-MAX is unconnected or connected incorrectly."
absent other-id.qzl
stop_sim

# A memory file keeps its model and the patches beyond the unit's count: a QZ-MAX library of 200 patches
# as the memory of a QZ-5 (its conversion declined) is still a QZ-MAX library of 200 patches afterwards,
# its first 140 patches what the unit held.
run 0 export-smf "$max3" three.mid
run 0 import-smf three.mid big-memory.qzl
start_sim --model qz5 --midi-api jack simulate --memory big-memory.qzl
stop_sim
[ "$sim_status" = 0 ] || fail "simulate ended with status $sim_status: $(cat sim.err)"
[ "$(signature big-memory.qzl)" = "QZMLibrarianFile0000QZM         " ] || fail "the memory file changed its model"
run 0 list big-memory.qzl
[ "$(echo "$OUT" | wc -l)" = 200 ] || fail "the memory file lost the patches beyond the unit's"
[ "$(echo "$OUT" | head -2 | cut -f2 | tr '\n' ,)" = "Lead {solo},Clean," ] || fail "memory: $OUT"
