// The key map, the action table and the two GLUT key handlers that dispatch through them.
#include "app/key_bindings.h"

#include <cstdlib>

#include "app/dance_actions.h"

namespace vorel {

std::map<std::uint32_t, std::int32_t> keyActions;
std::map<std::uint32_t, std::int32_t> specialKeyActions;
std::vector<ActionCallback> ActionTable;
std::int32_t nextActionIndex = 0;

namespace {

constexpr unsigned char EscapeKey = 27;

void runBoundAction(const std::map<std::uint32_t, std::int32_t>& actions, std::uint32_t code,
                    int key, int x, int y) {
    const auto found = actions.find(code);
    if (found == actions.end() || found->second < 0) {
        return;
    }
    ActionTable[static_cast<std::size_t>(found->second)](key, x, y);
}

}  // namespace

int bindKey(char key, ActionCallback action) {
    const std::uint32_t code = static_cast<unsigned char>(key);
    if (keyActions.count(code) != 0) {
        return 0;
    }
    keyActions[code] = nextActionIndex;
    ActionTable.push_back(action);
    ++nextActionIndex;
    return 1;
}

void registerBindings() {
    bindKey('1', startCancan);
    bindKey('2', startJoyousWalk);
    bindKey('3', startStrut);
    bindKey('4', startHighKick);
    bindKey('5', startMidKick);
    bindKey('6', startLowKick);
    bindKey('7', startSalute);
    bindKey(' ', toggleClock);
}

void keyboard(unsigned char key, int x, int y) {
    if (key == EscapeKey) {
        // The ordinary exit: exit handlers and static destructors run; library and figure stay.
        std::exit(1);
    }
    runBoundAction(keyActions, key, key, x, y);
}

void specialKey(int key, int x, int y) {
    runBoundAction(specialKeyActions, static_cast<std::uint32_t>(key), key, x, y);
}

}  // namespace vorel
