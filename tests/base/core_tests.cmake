list(APPEND TOVARIN_CORE_TESTS
  base/ByteStreamTest.cpp
  base/CodecTest.cpp
  base/DateTimeTest.cpp
  base/FileIOTest.cpp
  base/HttpGetTest.cpp
  base/RandomTest.cpp
  base/TextTest.cpp
)
