// Fuzz target for loadAnimation: any bytes load or fail cleanly, and what loads survives the
// writer.
#include "assets/load_animation.h"
#include "assets/save_animation.h"
#include "fuzz/check_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vorel::checkRoundTrip(data, size, vorel::loadAnimationFromBytes, vorel::encodeAnimation);
}
