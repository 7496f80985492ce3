# The reliability suite. Its program also reads stores through SQLCipher
# itself, as an administrator would. Every test runs its short form in the
# normal test run; the long form of the heavy suites runs as the CTest tests
# labelled "long" (scripts/test leaves them out), beside a server for the
# suites that also run on one:
#   scripts/with-postgres ctest --test-dir build -L long --output-on-failure
if(TARGET reliability_tests)
  target_link_libraries(reliability_tests PRIVATE PkgConfig::SQLCIPHER)
  foreach(suite Load Crash DamagedFiles SharedWindow StoreCreation ServerRestart)
    add_test(NAME reliability_long.${suite} COMMAND reliability_tests --gtest_filter=${suite}.*:*/${suite}.*)
    set_tests_properties(reliability_long.${suite} PROPERTIES
      LABELS long
      TIMEOUT 14400
      ENVIRONMENT "WEVO_RELIABILITY=long;QT_QPA_PLATFORM=offscreen")
  endforeach()
endif()
