// vorel-make-dancer OUTDIR: writes the default dancer, its seven dances and vorel.txt into
// OUTDIR. Run the viewer with OUTDIR as its working directory to see them.
#include <cstdio>
#include <cstring>
#include <string>

#include "dancer/default_set.h"
#include "tools/common/exit_status.h"

namespace {

constexpr const char* Usage =
    "Usage: vorel-make-dancer OUTDIR\n"
    "Writes the default dancer (dancer.ply), her seven dances and vorel.txt into OUTDIR.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(Usage, stdout);
        return vorel::ExitSuccess;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "vorel-make-dancer: expected one OUTDIR\n%s", Usage);
        return vorel::ExitUsage;
    }
    std::string error;
    if (!vorel::writeDefaultSet(argv[1], error)) {
        std::fprintf(stderr, "vorel-make-dancer: %s\n", error.c_str());
        return vorel::ExitBadInput;
    }
    return vorel::ExitSuccess;
}
