// The import and retarget tolerances scaled to a figure's height.
#include "convert/key_tolerances.h"

namespace vorel {

KeyTolerances importTolerances(double height) {
    KeyTolerances tolerances;
    tolerances.length = ImportLengthTolerancePerHeight * height;
    return tolerances;
}

KeyTolerances retargetTolerances(double height) {
    KeyTolerances tolerances;
    tolerances.length = RetargetLengthTolerancePerHeight * height;
    return tolerances;
}

}  // namespace vorel
