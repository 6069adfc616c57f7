#include "app/InformationRequest.h"

#include <cstring>

#include "VarnokVersion.h"

namespace {

constexpr const char* kHelp =
    "Usage: varnok-dat-tool [ARCHIVE.dat]\n"
    "The window program of the Varnok Dat Tool: it browses .dat archives, shows and\n"
    "edits the icons of S16 files, builds S16 files from bitmaps and converts SHP\n"
    "files. Named an archive, it opens on the DAT Tool showing it; otherwise on the\n"
    "S16 Tool, in the folder last used.\n"
    "\n"
    "Options:\n"
    "  -h, --help     print this help and stop\n"
    "  --version      print the version and stop\n"
    "\n"
    "varnok-dat does the same work from the command line and in scripts.\n";

}  // namespace

int AnswerInformationRequest(int argc, const char* const* argv, std::FILE* out) {
    if (argc != 2) return -1;
    const char* asked = argv[1];
    if (std::strcmp(asked, "--version") == 0) {
        std::fprintf(out, "varnok-dat-tool %s\n", kVarnokVersion);
    } else if (std::strcmp(asked, "--help") == 0 || std::strcmp(asked, "-h") == 0) {
        std::fputs(kHelp, out);
    } else {
        return -1;
    }
    if (std::fflush(out) == 0 && std::ferror(out) == 0) return 0;
    std::fprintf(stderr, "Error on writing [standard output]\n");
    return 1;
}
