list(APPEND TOVARIN_CORE_TESTS
  draws/LawNetTest.cpp
)
