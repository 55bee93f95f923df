list(APPEND TOVARIN_CORE_TESTS
  mainwin/AnalysesTest.cpp
)
