list(APPEND TOVARIN_CORE_TESTS
  base/ByteStreamTest.cpp
)
