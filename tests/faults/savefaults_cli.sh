# qzml saving onto a full disk and into a read-only folder: the old file stays, the user is told
# "This file could not be saved." once, and the exit status is 1.
. "$(dirname "$0")/../cli/lib.sh"

# A library of 200 patches (over 200 kB, its MIDI file more).
run 0 export-smf "$QZ_CORPUS/qzl/valid_qzmax_3.qzl" three.mid
run 0 import-smf three.mid big.qzl
mkdir out
echo "previous contents" >out/lib.qzl
echo "previous contents" >out/lib.mid
cp out/lib.qzl expected

# told: stderr holds the message once.
told() {
  [ "$(printf '%s\n' "$ERR" | grep -c 'This file could not be saved\.')" = 1 ] ||
    fail "not told once: $ERR"
}
untouched() {
  same expected out/lib.qzl
  same expected out/lib.mid
  if ls -A out | grep -qv '^lib\.\(qzl\|mid\)$'; then fail "left behind in out: $(ls -A out)"; fi
}

# Full disk: no write may go past 48 kB (the signal of the limit ignored, as ENOSPC raises none).
full() { (trap '' XFSZ; ulimit -f 48; exec "$QZML" "$@") >"$QZ_WORK/.out" 2>"$QZ_WORK/.err"; STATUS=$?; ERR=$(cat "$QZ_WORK/.err"); }
full convert big.qzl out/lib.qzl
[ "$STATUS" = 1 ] || fail "convert onto a full disk: exit status $STATUS"
told
full export-smf big.qzl out/lib.mid
[ "$STATUS" = 1 ] || fail "export-smf onto a full disk: exit status $STATUS"
told
untouched

# Read-only folder; an administrator gives up the right to override permissions first.
if [ "$(id -u)" = 0 ] && ! command -v setpriv >/dev/null; then
  echo "setpriv is missing: the read-only folder is not tried" >&2
  exit 77
fi
chmod a-w out
ro() {
  if [ "$(id -u)" = 0 ]; then
    setpriv --bounding-set -dac_override,-dac_read_search,-fowner "$QZML" "$@"
  else
    "$QZML" "$@"
  fi >"$QZ_WORK/.out" 2>"$QZ_WORK/.err"
  STATUS=$?
  ERR=$(cat "$QZ_WORK/.err")
}
ro convert big.qzl out/lib.qzl
[ "$STATUS" = 1 ] || fail "convert into a read-only folder: exit status $STATUS"
told
ro export-smf big.qzl out/lib.mid
[ "$STATUS" = 1 ] || fail "export-smf into a read-only folder: exit status $STATUS"
told
chmod u+w out
untouched

# Room again: both go through.
run 0 convert big.qzl out/lib.qzl
run 0 export-smf big.qzl out/lib.mid
same big.qzl out/lib.qzl
exit 0
