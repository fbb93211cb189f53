// Puts the viewer's process-wide state back to its start-up values between tests, and
// releases a figure a test installed (the viewer itself never releases it).
#pragma once

namespace vorel::test_support {

// Empty key maps and action table, clock at 0 and running, spin 0, no library or figure.
void resetAppGlobals();

}  // namespace vorel::test_support
