// checkRoundTrip: the shared body of the binary loaders' fuzz targets. Any bytes must load or
// fail with a reason; whatever loads must come back unchanged through the writer (write it,
// load that, write again: both writes equal). A broken promise aborts, which libFuzzer reports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "assets/load_error.h"

namespace vorel {

template <typename Load, typename Encode>
int checkRoundTrip(const std::uint8_t* data, std::size_t size, Load load, Encode encode) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    LoadError error;
    const auto loaded = load(bytes, "fuzz input", &error);
    if (!loaded) {
        if (error.message.empty()) std::abort();
        return 0;
    }
    const std::string written = encode(*loaded);
    const auto reloaded = load(written, "written", nullptr);
    if (!reloaded || encode(*reloaded) != written) std::abort();
    return 0;
}

}  // namespace vorel
