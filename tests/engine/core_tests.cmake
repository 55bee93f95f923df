list(APPEND TOVARIN_CORE_TESTS
  engine/BindStreamTest.cpp
  engine/BindTest.cpp
  engine/CodeTest.cpp
  engine/CorruptDocumentsTest.cpp
  engine/DocumentTest.cpp
  engine/DocumentLoadTest.cpp
  engine/PrjOptionsTest.cpp
  engine/PrjTest.cpp
  engine/PrjReportTest.cpp
  engine/RecommendTest.cpp
)
