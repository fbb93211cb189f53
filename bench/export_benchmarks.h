// Export benchmarks: what vorel-export does after loading, on a synthetic model of a million
// vertices: record every dance on a figure, build the glTF document and write the .glb.
#pragma once

namespace vorel {

void registerExportBenchmarks();

}  // namespace vorel
