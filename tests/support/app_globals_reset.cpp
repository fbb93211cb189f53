// resetAppGlobals: the clean slate each app test starts from.
#include "tests/support/app_globals_reset.h"

#include "app/app_state.h"
#include "app/key_bindings.h"

namespace vorel::test_support {

void resetAppGlobals() {
    keyActions.clear();
    specialKeyActions.clear();
    ActionTable.clear();
    nextActionIndex = 0;
    timeStep = 0.01f;
    animationClock = 0.0f;
    clockRunning = true;
    spinAngle = 0.0f;
    delete figure;
    figure = nullptr;
    delete library;
    library = nullptr;
}

}  // namespace vorel::test_support
