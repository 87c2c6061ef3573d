# Usage errors: exit status 2, the reason and a hint on stderr, nothing written, nothing read.
. "$(dirname "$0")/lib.sh"

zkl=$QZ_CORPUS/zkl/valid/three-patches.zkl

run 2
says "no command given"
says "qzml --help"
[ -z "$OUT" ] || fail "usage error wrote to stdout"

run 2 frobnicate; says "unknown command 'frobnicate'"
run 2 --frob list x; says "unknown option '--frob'"
run 2 --model qz7 list "$zkl"; says "--model must be qzmax or qz5"
run 2 --device-id 0 list "$zkl"; says "1 to 32"
run 2 --device-id 33 list "$zkl"; says "1 to 32"
run 2 --midi-api oss ports; says "--midi-api must be auto, alsa or jack"
run 2 list; says "FILE missing"; says "qzml list --help"
run 2 list "$zkl" extra; says "unexpected operand 'extra'"
run 2 list --yes "$zkl"; says "--yes is a global option and goes before the command"
run 2 import-zkl "$zkl" out.qzl --select 1; says "unknown option '--select' for import-zkl"
run 2 export-smf --select 0 a.qzl b.mid; says "--select"
run 2 export-smf --select 201 a.qzl b.mid; says "beyond"
run 2 read --out B o.qzl; says "needs --in PORT and --out PORT"
run 2 read --in A --out B --select 1 --temp o.qzl; says "exclude each other"
run 2 write --in A --out B --temp 0 i.qzl; says "--temp"
run 2 write --in A --out B --temp 1 --select 1 i.qzl; says "exclude each other"
run 2 simulate extra; says "unexpected operand"
run 2 --device-id auto ports; says "--device-id auto goes only with read and write"
run 2 read --in auto o.qzl; says "needs --in PORT and --out PORT (PORT may be auto)"

# A usage error comes before any work: the import that would succeed does not happen.
run 2 import-zkl "$zkl" out.qzl extra
absent out.qzl
