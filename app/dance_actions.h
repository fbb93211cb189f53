// The actions bound to keys: the seven dances, each started by name on the figure with the
// animation clock as its start time, and toggleClock for the space bar.
#pragma once

#include <string>

namespace vorel {

// Starts the named animation on the figure, stamped with animationClock. A name the library
// does not hold changes nothing.
void startDance(const std::string& name);

void startCancan(int key, int x, int y);
void startJoyousWalk(int key, int x, int y);
void startStrut(int key, int x, int y);
void startHighKick(int key, int x, int y);
void startMidKick(int key, int x, int y);
void startLowKick(int key, int x, int y);
void startSalute(int key, int x, int y);
// Stops or restarts the animation clock; playing animations advance either way.
void toggleClock(int key, int x, int y);

}  // namespace vorel
