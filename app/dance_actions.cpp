// The key actions: starting the seven dances by name and toggling the animation clock.
#include "app/dance_actions.h"

#include "anim/active_animation.h"
#include "app/app_state.h"

namespace vorel {

void startDance(const std::string& name) {
    ActiveAnimation animation(name, animationClock);
    figure->startAnimation(animation);
}

void startCancan(int, int, int) {
    startDance("Cancan");
}
void startJoyousWalk(int, int, int) {
    startDance("Joyous Walk");
}
void startStrut(int, int, int) {
    startDance("Strut");
}
void startHighKick(int, int, int) {
    startDance("HighKick");
}
void startMidKick(int, int, int) {
    startDance("MidKick");
}
void startLowKick(int, int, int) {
    startDance("LowKick");
}
void startSalute(int, int, int) {
    startDance("Salute");
}

void toggleClock(int, int, int) {
    clockRunning = !clockRunning;
}

}  // namespace vorel
