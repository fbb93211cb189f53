# Every test has a time limit, so a hang fails in minutes instead of waiting for CI's limit and
# a step that turned quadratic shows as a timeout. VOREL_TEST_TIMEOUT is the limit of a test in
# a release build; the sanitizer build runs several times slower, so its limits are
# VOREL_SANITIZED_TIME_FACTOR times longer. A test that needs more sets its own TIMEOUT.
set(VOREL_TEST_TIMEOUT 60 CACHE STRING "Default time limit of one test, in seconds")
set(VOREL_SANITIZED_TIME_FACTOR 4)

# Sets `out` to SECONDS as this build's time limit.
function(vorel_time_limit seconds out)
  if(VOREL_SANITIZE)
    math(EXPR seconds "${seconds} * ${VOREL_SANITIZED_TIME_FACTOR}")
  endif()
  set(${out} ${seconds} PARENT_SCOPE)
endfunction()

# CTest's own default (DartConfiguration.tcl's TimeOut) holds every test that sets no TIMEOUT,
# however it was added: add_test, gtest_discover_tests or a helper's function.
vorel_time_limit(${VOREL_TEST_TIMEOUT} VOREL_DEFAULT_TIME_LIMIT)
set(DART_TESTING_TIMEOUT ${VOREL_DEFAULT_TIME_LIMIT} CACHE STRING "Default test time limit" FORCE)
include(CTest)
