// vorel-pose-dump MANIFEST: plays a fixed session of key presses on the viewer's GL-free state
// (every dance started several times, overlapping, the clock stopped and restarted) and prints
// a hash of the skinned positions' and normals' bits after each frame. Built natively and for
// WebAssembly, so comparing the two outputs shows whether the runtimes agree bit for bit.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "app/frame_steps.h"
#include "app/key_bindings.h"
#include "tools/common/exit_status.h"
#include "tools/common/library_beside_manifest.h"
#include "tools/common/single_operand.h"

namespace {

constexpr const char* Usage =
    "Usage: vorel-pose-dump MANIFEST\n"
    "Plays a fixed session of key presses and prints each frame's hash of the skinned mesh.\n";

constexpr int FrameCount = 1500;

struct KeyPress {
    int frame;
    unsigned char key;
};

// Each dance three times, the later starts while earlier ones still play, and the clock
// stopped and restarted twice, so starts stamped with a frozen clock are covered as well.
constexpr KeyPress Session[] = {
    {1, '1'},    {3, '2'},    {5, '3'},    {40, '4'},   {41, '5'},   {90, '6'},  {120, '7'},
    {200, '1'},  {200, '1'},  {260, ' '},  {300, '2'},  {310, '3'},  {330, ' '}, {400, '4'},
    {450, '5'},  {520, '6'},  {600, '7'},  {700, '1'},  {701, '2'},  {702, '3'}, {703, '4'},
    {704, '5'},  {705, '6'},  {706, '7'},  {900, ' '},  {905, '7'},  {950, '6'}, {1000, ' '},
    {1100, '3'}, {1250, '2'}, {1300, '1'}, {1301, '4'}, {1302, '5'},
};

// FNV-1a over the raw bytes, so any difference in any bit changes the printed value.
std::uint64_t hashBytes(const void* data, std::size_t size, std::uint64_t hash) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ bytes[i]) * 1099511628211ULL;
    }
    return hash;
}

template <typename Buffer>
std::uint64_t hashBuffer(const Buffer& buffer) {
    return hashBytes(buffer.data(), buffer.size() * sizeof(buffer[0]), 14695981039346656037ULL);
}

void pressKeysBefore(int frame) {
    for (const KeyPress& press : Session) {
        if (press.frame == frame) vorel::keyboard(press.key, 0, 0);
    }
}

void printFrame(int frame) {
    const vorel::ModelInstance& instance = *vorel::figure->instances[vorel::figure->currentModel];
    std::uint32_t clockBits = 0;
    std::memcpy(&clockBits, &vorel::animationClock, sizeof clockBits);
    std::printf("frame %d playing %zu clock %08x positions %016llx normals %016llx\n", frame,
                vorel::figure->playing.size(), clockBits,
                static_cast<unsigned long long>(hashBuffer(instance.positions)),
                static_cast<unsigned long long>(hashBuffer(instance.normals)));
}

}  // namespace

int main(int argc, char** argv) {
    int exitStatus = vorel::ExitSuccess;
    const std::optional<std::string> manifest = vorel::singleOperand(
        argc, argv, "vorel-pose-dump", Usage, "expected one MANIFEST", exitStatus);
    if (!manifest) return exitStatus;
    std::string problem;
    auto loaded = vorel::loadLibraryBesideManifest(*manifest, problem);
    if (loaded == nullptr) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return vorel::ExitBadInput;
    }
    vorel::registerBindings();
    vorel::installFigure(std::move(loaded));
    for (int frame = 1; frame <= FrameCount; ++frame) {
        pressKeysBefore(frame);
        vorel::updateFigure();
        printFrame(frame);
        vorel::advanceClock();
    }
    return vorel::ExitSuccess;
}
