// The BVH importer on a generated 100,000-frame capture (about 14 minutes at 120 frames per
// second): read, figure, animation and the set written to disk, as vorel-import does, with the
// most heap it holds at once beside the size of the capture's text.
#pragma once

namespace vorel {

void registerBvhImportBenchmarks();

}  // namespace vorel
