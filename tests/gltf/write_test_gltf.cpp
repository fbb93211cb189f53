// write_test_gltf FOLDER: writes the characters built in tests/support for the tests that run
// the tools and three.js on real files (making FOLDER if need be): the arm as FOLDER/arm.glb
// and, with its buffer beside it, FOLDER/arm.gltf + FOLDER/arm.bin; the column as
// FOLDER/column.glb, and with weights that do not sum to 1 as FOLDER/column-unnormalised.glb.
#include <cstdio>
#include <filesystem>
#include <string>

#include "assets/file_bytes.h"
#include "tests/support/gltf_test_character.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_test_gltf FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    using namespace vorel::test_support;
    const ArmCharacter arm = makeArmCharacter();
    if (!vorel::writeFileBytes(folder + "/arm.glb", arm.builder.glb()) ||
        !vorel::writeFileBytes(folder + "/arm.bin", arm.builder.bufferBytes()) ||
        !vorel::writeFileBytes(folder + "/arm.gltf",
                               arm.builder.jsonWithExternalBuffer("arm.bin")) ||
        !vorel::writeFileBytes(folder + "/column.glb", makeColumnCharacter().builder.glb()) ||
        !vorel::writeFileBytes(folder + "/column-unnormalised.glb",
                               makeColumnCharacter(true).builder.glb())) {
        std::fprintf(stderr, "write_test_gltf: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
