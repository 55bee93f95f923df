list(APPEND TOVARIN_CORE_TESTS
  engine/BindStreamTest.cpp
  engine/BindTest.cpp
  engine/CodeTest.cpp
  engine/PrjOptionsTest.cpp
)
