// write_box_set FOLDER: writes the small box figure and its manifest for the renderer's
// command-line tests, which should not depend on the default dancer.
#include <cstdio>

#include "tests/support/box_figure.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_box_set FOLDER\n");
        return 2;
    }
    return vorel::test_support::writeBoxSet(argv[1]) ? 0 : 1;
}
