// robotSet: RobotExpressive imported as a set of its own (through the importer and the loader,
// as a user would make it): a target that is not the default dancer, with other proportions, a
// hierarchy of its own and no skirt. Imported once per test run.
#pragma once

#include "assets/asset_library.h"

namespace vorel {

const AssetLibrary& robotSet();

}  // namespace vorel
