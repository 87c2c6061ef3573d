# `ports`: the built-in simulated unit's pair is always there, first, in both directions.
. "$(dirname "$0")/lib.sh"

run 0 ports
first_in=$(echo "$OUT" | grep -m1 '^in')
first_out=$(echo "$OUT" | grep -m1 '^out')
[ "$first_in" = $'in\tQZ-MAX Simulator' ] || fail "first input: $first_in"
[ "$first_out" = $'out\tQZ-MAX Simulator' ] || fail "first output: $first_out"
echo "$OUT" | grep -qv $'^\(in\|out\)\t.' && fail "a line that is no port: $OUT"

# The same for the QZ-5.
run 0 --model qz5 ports
echo "$OUT" | grep -qx $'in\tQZ-MAX Simulator' || fail "no simulator for the QZ-5: $OUT"

# A MIDI system that is asked for by name and does not start is a failure that says why.
if [ ! -e /dev/snd/seq ]; then
  run 1 --midi-api alsa ports
  says "The MIDI system \"alsa\" could not be started."
  [ -z "$OUT" ] || fail "a failed ports printed $OUT"
fi

# `detect` leaves the built-in simulated unit out: it is always there. Without another MIDI system
# nobody answers, and auto finds no unit to read from.
if [ ! -e /dev/snd/seq ] && ! timeout 20 "$QZML" --midi-api jack ports >/dev/null 2>&1; then
  run 1 detect
  [ -z "$OUT" ] || fail "detect printed $OUT"
  says "No unit answered"
  run 1 --device-id auto read --in auto --out auto none.qzl
  says "No unit answered"
  absent none.qzl
fi
