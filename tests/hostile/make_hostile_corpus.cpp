// make_hostile_corpus OUTDIR SEED...: writes deterministic mutations of the seed files (glTF,
// GLB or BVH) into OUTDIR for run_hostile_corpus.sh: truncations, byte flips, JSON numbers
// that lie about their type or range, nesting too deep, URIs reaching out of the folder, and
// captures that are too wide, too far or hold equal names by the thousand.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/file_bytes.h"
#include "tests/hostile/corpus_mutations.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_hostile_corpus OUTDIR SEED...\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    std::size_t written = 0;
    for (int a = 2; a < argc; ++a) {
        std::string bytes;
        vorel::LoadError error;
        if (!vorel::readFileBytes(argv[a], bytes, &error)) {
            std::fprintf(stderr, "%s\n", error.describe().c_str());
            return 1;
        }
        const std::string stem = std::filesystem::path(argv[a]).stem().string();
        for (const vorel::test_support::Mutation& mutation :
             vorel::test_support::mutationsOf(bytes)) {
            const std::filesystem::path path = folder / (stem + "-" + mutation.name);
            if (!vorel::writeFileBytes(path.string(), mutation.bytes)) {
                std::fprintf(stderr, "%s: cannot be written\n", path.c_str());
                return 1;
            }
            ++written;
        }
    }
    std::printf("%zu hostile files in %s\n", written, folder.c_str());
    return 0;
}
