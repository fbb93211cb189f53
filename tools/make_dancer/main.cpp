// vorel-make-dancer OUTDIR: writes the default dancer, its seven dances and vorel.txt into
// OUTDIR. Run the viewer with OUTDIR as its working directory to see them.
#include <cstdio>
#include <optional>
#include <string>

#include "dancer/default_set.h"
#include "tools/common/exit_status.h"
#include "tools/common/print_line.h"
#include "tools/common/single_operand.h"

namespace {

constexpr const char* Usage =
    "Usage: vorel-make-dancer OUTDIR\n"
    "Writes the default dancer (dancer.ply), her seven dances and vorel.txt into OUTDIR.\n";

}  // namespace

int main(int argc, char** argv) {
    int exitStatus = vorel::ExitSuccess;
    const std::optional<std::string> folder = vorel::singleOperand(
        argc, argv, "vorel-make-dancer", Usage, "expected one OUTDIR", exitStatus);
    if (!folder) return exitStatus;
    std::string error;
    if (!vorel::writeDefaultSet(*folder, error)) {
        vorel::printLine(stderr, "vorel-make-dancer: %s", error.c_str());
        return vorel::ExitBadInput;
    }
    return vorel::ExitSuccess;
}
