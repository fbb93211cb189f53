// The key actions: starting the seven dances by name and toggling the animation clock. Key N
// starts DanceNames[N - 1].
#include "app/dance_actions.h"

#include "anim/active_animation.h"
#include "app/app_state.h"
#include "assets/dance_names.h"

namespace vorel {

void startDance(const std::string& name) {
    ActiveAnimation animation(name, animationClock);
    figure->startAnimation(animation);
}

void startCancan(int, int, int) {
    startDance(DanceNames[0]);
}
void startJoyousWalk(int, int, int) {
    startDance(DanceNames[1]);
}
void startStrut(int, int, int) {
    startDance(DanceNames[2]);
}
void startHighKick(int, int, int) {
    startDance(DanceNames[3]);
}
void startMidKick(int, int, int) {
    startDance(DanceNames[4]);
}
void startLowKick(int, int, int) {
    startDance(DanceNames[5]);
}
void startSalute(int, int, int) {
    startDance(DanceNames[6]);
}

void toggleClock(int, int, int) {
    clockRunning = !clockRunning;
}

}  // namespace vorel
