// Key bindings and the two key handlers, driven directly as GLUT would call them and judged by
// what the keys do: the action run, the dance started, the clock stopped.
#include "app/key_bindings.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/app_state.h"
#include "tests/support/app_globals_reset.h"
#include "tests/support/box_figure.h"

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

TEST_F(KeyBindings, EachNewlyBoundKeyRunsItsOwnAction) {
    EXPECT_EQ(bindKey('a', recordFirst), 1);
    EXPECT_EQ(bindKey('b', recordSecond), 1);
    keyboard('b', 0, 0);
    keyboard('a', 0, 0);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].action, 2);
    EXPECT_EQ(calls[0].key, 'b');
    EXPECT_EQ(calls[1].action, 1);
    EXPECT_EQ(calls[1].key, 'a');
}

TEST_F(KeyBindings, RebindingAKeyReturnsZeroAndKeepsTheFirstAction) {
    ASSERT_EQ(bindKey('a', recordFirst), 1);
    EXPECT_EQ(bindKey('a', recordSecond), 0);
    keyboard('a', 0, 0);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].action, 1);
    // The refused binding took no place in the table: the next key bound gets its own action.
    ASSERT_EQ(bindKey('b', recordSecond), 1);
    keyboard('b', 0, 0);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].action, 2);
}

TEST_F(KeyBindings, KeysAtOrAbove128AreCodedAsUnsignedBytes) {
    ASSERT_EQ(bindKey(static_cast<char>(0xE9), recordFirst), 1);
    keyboard(0x69, 3, 4);
    EXPECT_TRUE(calls.empty());
    keyboard(0xE9, 3, 4);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].key, 0xE9);
}

// The default bindings acting on a figure that holds all seven dances.
class DefaultBindings : public KeyBindings {
  protected:
    void SetUp() override {
        KeyBindings::SetUp();
        registerBindings();
        installFigure(makeSevenDanceBoxLibrary());
    }
};

TEST_F(DefaultBindings, DigitsOneToSevenStartTheSevenDancesAndSpaceStopsTheClock) {
    for (int i = 0; i < 7; ++i) {
        keyboard(static_cast<unsigned char>('1' + i), 0, 0);
        ASSERT_EQ(figure->playing.size(), static_cast<std::size_t>(i + 1));
        EXPECT_EQ(figure->playing.back().name, SevenDanceNames[i]);
    }
    EXPECT_TRUE(clockRunning);
    keyboard(' ', 0, 0);
    EXPECT_FALSE(clockRunning);
    EXPECT_EQ(figure->playing.size(), 7u);
}

TEST_F(DefaultBindings, NoOtherKeyAndNoSpecialKeyActs) {
    for (int key = 0; key < 256; ++key) {
        const bool bound = (key >= '1' && key <= '7') || key == ' ' || key == 27;
        if (!bound) keyboard(static_cast<unsigned char>(key), 0, 0);
        // GLUT's special codes include 1 to 12 (F1-F12) and 100 (left), and some equal digits.
        specialKey(key, 0, 0);
    }
    EXPECT_TRUE(figure->playing.empty());
    EXPECT_TRUE(clockRunning);
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
    bindKey('d', recordFirst);
    specialKey('d', 0, 0);
    EXPECT_TRUE(calls.empty());
    specialKeyActions[100] = 0;
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
