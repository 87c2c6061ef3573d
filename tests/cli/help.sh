# --help for the tool and every command.
. "$(dirname "$0")/lib.sh"

run 0 --help
silent
for command in list import-zkl import-qz3 import-smf export-smf convert ports read write detect diff duplicates import-syx export-syx \
  simulate; do
  case "$OUT" in *"  $command"*) ;; *) fail "--help does not name $command" ;; esac
done
tool_help=$OUT

for command in list import-zkl import-qz3 import-smf export-smf convert ports read write detect diff duplicates import-syx export-syx \
  simulate; do
  run 0 "$command" --help
  silent
  case "$OUT" in *"usage: qzml [GLOBAL OPTIONS] $command"*) ;; *) fail "$command --help: $OUT" ;; esac
  run 0 --model qz5 "$command" -h
done

# Help wins over an otherwise wrong line, and the global help is the same wherever it is asked.
run 0 read --bogus --help
run 0 --model qz5 --help
[ "$OUT" = "$tool_help" ] || fail "global help differs after a global option"

# The version line: the project's version and the revision built from, wherever --version stands among the
# global options.
run 0 --version
case "$OUT" in "qzml "[0-9]*.[0-9]*.[0-9]*" (git "*")") ;; *) fail "--version: $OUT" ;; esac
version=$OUT
run 0 --model qz5 --version
[ "$OUT" = "$version" ] || fail "--version differs after a global option"
