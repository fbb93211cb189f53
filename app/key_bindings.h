// Key bindings: a key code maps to an action index, the index selects a callback in the
// ActionTable. Also the GLUT keyboard and special-key handlers that use them. Escape is not a
// binding: the keyboard handler ends the process before any lookup.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace vorel {

// Called with the key code and pointer position exactly as the GLUT handler received them.
using ActionCallback = void (*)(int key, int x, int y);

// Character keys (codes 0-255) to action indices.
extern std::map<std::uint32_t, std::int32_t> keyActions;
// GLUT special keys to action indices; starts empty and nothing adds to it.
extern std::map<std::uint32_t, std::int32_t> specialKeyActions;
// An action index is a position in this table.
extern std::vector<ActionCallback> ActionTable;
// Number of actions bound so far; always the size of ActionTable.
extern std::int32_t nextActionIndex;

// Returns 1 when the binding was made, 0 when the key was already bound (the old one stays).
int bindKey(char key, ActionCallback action);
// Binds 1-7 to the seven dances and space to toggleClock, in that order.
void registerBindings();
// GLUT keyboard callback: Escape exits with status 1, a bound key runs its action.
void keyboard(unsigned char key, int x, int y);
// GLUT special-key callback: the same lookup in specialKeyActions, no Escape test.
void specialKey(int key, int x, int y);

}  // namespace vorel
