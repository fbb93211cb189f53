// Export benchmarks: what vorel-export does after loading, on a synthetic model of a million
// vertices: record every dance on a figure, build the glTF document and write the .glb.
#pragma once

#include <string>

#include "assets/asset_library.h"
#include "gltf/gltf_export.h"

namespace vorel {

void registerExportBenchmarks();

// What vorel-export does with a loaded library: every dance recorded on a figure, the
// document built and written to `path` as a .glb. False, with problem set, on failure.
bool exportLibrary(const AssetLibrary& library, const std::string& path, GltfExportSummary& summary,
                   std::string& problem);

}  // namespace vorel
