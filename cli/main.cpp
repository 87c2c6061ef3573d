// qzml: the command-line librarian. This first build knows the patch model only; it prints its usage.
#include <cstdio>
#include <cstring>

#include "model/appstate.h"
#include "model/patch.h"

namespace {

const char kUsage[] =
    "usage: qzml [GLOBAL OPTIONS] COMMAND [ARGS]\n"
    "\n"
    "GLOBAL OPTIONS\n"
    "  --model qzmax|qz5          target model (default qzmax)\n"
    "  --device-id N              the unit's device ID, 1..32 (default 17)\n"
    "  --yes                      answer Yes to model-conversion questions\n"
    "  --midi-api auto|alsa|jack  MIDI system to use (default auto)\n"
    "\n"
    "COMMANDS\n"
    "  list FILE                  list the patches of a file\n"
    "  import-zkl IN OUT.qzl      ZK-40 librarian file -> library file\n"
    "  import-qz3 IN OUT.qzl      QZ-3 bulk dump -> library file\n"
    "  import-smf IN.mid OUT.qzl  patch SMF -> library file\n"
    "  export-smf [--select LIST] IN.qzl OUT.mid\n"
    "  convert IN.qzl OUT.qzl     convert a library to --model\n"
    "  ports                      list MIDI ports\n"
    "  read  --in PORT --out PORT [--select LIST | --temp] OUT.qzl\n"
    "  write --in PORT --out PORT [--select LIST | --temp N] [--verify] IN.qzl\n"
    "  simulate [--name NAME] [--memory FILE.qzl]\n";

} // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::fputs(kUsage, stdout);
    QZML::CPatch patch;
    std::printf("\nA new patch is \"%s\", %u bytes in a library file.\n", patch.GetName().c_str(),
                patch.GetStoredSize() + 4);
    return argc < 2 ? 2 : 0;
  }
  std::fprintf(stderr, "qzml: command '%s' is not available in this build\n", argv[1]);
  return 2;
}
