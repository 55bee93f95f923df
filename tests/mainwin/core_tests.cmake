list(APPEND TOVARIN_CORE_TESTS
  mainwin/AnalysesTest.cpp
  mainwin/AppInfoTest.cpp
  mainwin/WorkFolderTest.cpp
)
