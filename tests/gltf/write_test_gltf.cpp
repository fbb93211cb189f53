// write_test_gltf FOLDER: writes the arm character built in tests/support as FOLDER/arm.glb
// and, with its buffer beside it, FOLDER/arm.gltf + FOLDER/arm.bin (making FOLDER if need
// be), for the tests that run the tools and three.js on real files.
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
    const vorel::test_support::ArmCharacter arm = vorel::test_support::makeArmCharacter();
    if (!vorel::writeFileBytes(folder + "/arm.glb", arm.builder.glb()) ||
        !vorel::writeFileBytes(folder + "/arm.bin", arm.builder.bufferBytes()) ||
        !vorel::writeFileBytes(folder + "/arm.gltf",
                               arm.builder.jsonWithExternalBuffer("arm.bin"))) {
        std::fprintf(stderr, "write_test_gltf: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
