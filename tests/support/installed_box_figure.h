// InstalledBoxFigure: the fixture of app tests that act on a figure: each test starts from the
// viewer's start-up state with the box figure installed, and ends with it released.
#pragma once

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "tests/support/app_globals_reset.h"
#include "tests/support/box_figure.h"

namespace vorel::test_support {

class InstalledBoxFigure : public ::testing::Test {
  protected:
    void SetUp() override {
        resetAppGlobals();
        installFigure(makeBoxLibrary());
    }
    void TearDown() override { resetAppGlobals(); }
};

}  // namespace vorel::test_support
