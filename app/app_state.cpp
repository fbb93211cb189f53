// Definitions of the viewer's process-wide state, with the values it starts from.
#include "app/app_state.h"

namespace vorel {

float timeStep = 0.01f;
float animationClock = 0.0f;
bool clockRunning = true;
float spinAngle = 0.0f;
AssetLibrary* library = nullptr;
Figure* figure = nullptr;

void installFigure(std::unique_ptr<AssetLibrary> loaded) {
    // NOTE: deliberately never released; the process ends through exit with both alive.
    library = loaded.release();
    figure = new Figure(library);
}

}  // namespace vorel
