// vorel-make-dancer OUTDIR: writes the default dancer, its seven dances and vorel.txt into
// OUTDIR. Run the viewer with OUTDIR as its working directory to see them.
#include <cstdio>
#include <string>

#include "tools/make_dancer/default_set.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vorel-make-dancer OUTDIR\n");
        return 2;
    }
    std::string error;
    if (!vorel::writeDefaultSet(argv[1], error)) {
        std::fprintf(stderr, "vorel-make-dancer: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
