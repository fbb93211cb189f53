// Key map, action table and the two key handlers, driven directly as GLUT would call them.
#include "app/key_bindings.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/app_state.h"
#include "app/dance_actions.h"
#include "tests/support/app_globals_reset.h"

namespace vorel {

using namespace test_support;
namespace {

struct Call {
    int action;
    int key;
    int x;
    int y;
};
std::vector<Call> calls;

void recordFirst(int key, int x, int y) {
    calls.push_back({1, key, x, y});
}
void recordSecond(int key, int x, int y) {
    calls.push_back({2, key, x, y});
}

class KeyBindings : public ::testing::Test {
  protected:
    void SetUp() override {
        resetAppGlobals();
        calls.clear();
    }
    void TearDown() override { resetAppGlobals(); }
};

TEST_F(KeyBindings, BindingANewKeyStoresItsActionAtTheNextIndex) {
    EXPECT_EQ(bindKey('a', recordFirst), 1);
    EXPECT_EQ(bindKey('b', recordSecond), 1);
    EXPECT_EQ(keyActions.at('a'), 0);
    EXPECT_EQ(keyActions.at('b'), 1);
    ASSERT_EQ(ActionTable.size(), 2u);
    EXPECT_EQ(ActionTable[1], recordSecond);
    EXPECT_EQ(nextActionIndex, 2);
}

TEST_F(KeyBindings, RebindingAKeyReturnsZeroAndKeepsTheFirstAction) {
    ASSERT_EQ(bindKey('a', recordFirst), 1);
    EXPECT_EQ(bindKey('a', recordSecond), 0);
    EXPECT_EQ(nextActionIndex, 1);
    EXPECT_EQ(ActionTable.size(), 1u);
    keyboard('a', 0, 0);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].action, 1);
}

TEST_F(KeyBindings, KeysAtOrAbove128AreCodedAsUnsignedBytes) {
    ASSERT_EQ(bindKey(static_cast<char>(0xE9), recordFirst), 1);
    EXPECT_EQ(keyActions.count(0xE9u), 1u);
    keyboard(0xE9, 3, 4);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].key, 0xE9);
}

TEST_F(KeyBindings, DefaultBindingsAreTheSevenDancesThenSpace) {
    registerBindings();
    const ActionCallback expected[] = {startCancan,  startJoyousWalk, startStrut,  startHighKick,
                                       startMidKick, startLowKick,    startSalute, toggleClock};
    const char keys[] = {'1', '2', '3', '4', '5', '6', '7', ' '};
    ASSERT_EQ(ActionTable.size(), 8u);
    EXPECT_EQ(nextActionIndex, 8);
    EXPECT_EQ(keyActions.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(keyActions.at(static_cast<unsigned char>(keys[i])), i) << keys[i];
        EXPECT_EQ(ActionTable[static_cast<std::size_t>(i)], expected[i]) << keys[i];
    }
    EXPECT_TRUE(specialKeyActions.empty());
}

TEST_F(KeyBindings, BoundKeyRunsItsActionWithKeyAndPointerAsReceived) {
    bindKey('q', recordFirst);
    keyboard('q', 17, 250);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].key, 'q');
    EXPECT_EQ(calls[0].x, 17);
    EXPECT_EQ(calls[0].y, 250);
}

TEST_F(KeyBindings, UnboundAndNegativelyMappedKeysDoNothing) {
    bindKey('q', recordFirst);
    keyActions['n'] = -1;
    for (int key = 0; key < 256; ++key) {
        if (key != 'q' && key != 27) {
            keyboard(static_cast<unsigned char>(key), 1, 2);
        }
    }
    EXPECT_TRUE(calls.empty());
}

TEST_F(KeyBindings, SpecialKeysUseOnlyTheirOwnMap) {
    registerBindings();
    // GLUT's F1 and left-arrow codes, and a special code equal to the digit '1'.
    for (int key : {1, 100, 49}) {
        specialKey(key, 0, 0);
    }
    EXPECT_TRUE(clockRunning);
    bindKey('x', recordFirst);
    specialKeyActions[100] = nextActionIndex - 1;
    specialKey(100, 5, 6);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].key, 100);
}

TEST_F(KeyBindings, EscapeExitsWithStatusOneEvenWhenBound) {
    EXPECT_EXIT(keyboard(27, 0, 0), ::testing::ExitedWithCode(1), "");
    bindKey(27, recordFirst);
    EXPECT_EXIT(keyboard(27, 0, 0), ::testing::ExitedWithCode(1), "");
}

}  // namespace
}  // namespace vorel
