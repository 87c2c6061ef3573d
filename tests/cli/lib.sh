# Shared by the qzml test scripts: $QZML is the program, $QZ_CORPUS the sample files, $QZ_WORK a
# scratch folder made empty for each script.
set -u
: "${QZML:?}" "${QZ_CORPUS:?}" "${QZ_WORK:?}"
rm -rf "$QZ_WORK"
mkdir -p "$QZ_WORK"
cd "$QZ_WORK" || exit 1

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# run STATUS ARGS...: runs qzml, expects the exit status, leaves stdout in $OUT and stderr in $ERR.
run() {
  local want=$1
  shift
  "$QZML" "$@" >"$QZ_WORK/.out" 2>"$QZ_WORK/.err"
  local status=$?
  OUT=$(cat "$QZ_WORK/.out")
  ERR=$(cat "$QZ_WORK/.err")
  [ "$status" = "$want" ] || fail "qzml $*: exit status $status, expected $want; stderr: $ERR"
}

# says TEXT: stderr of the last run holds TEXT.
says() {
  case "$ERR" in
  *"$1"*) ;;
  *) fail "stderr does not say '$1': $ERR" ;;
  esac
}

# silent: the last run printed nothing on stderr.
silent() {
  [ -z "$ERR" ] || fail "unexpected stderr: $ERR"
}

# absent FILE...: no such file exists (nor a left-over temporary file beside it).
absent() {
  local f
  for f in "$@"; do
    [ ! -e "$f" ] || fail "$f exists"
  done
  if ls -A | grep -q '\.tmp$'; then
    fail "temporary files left: $(ls -A)"
  fi
}

# signature FILE: the first 32 bytes of a library file.
signature() {
  head -c 32 "$1"
}

# same FILE FILE: byte for byte equal.
same() {
  cmp -s "$1" "$2" || fail "$1 and $2 differ"
}
