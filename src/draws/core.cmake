list(APPEND TOVARIN_CORE_SOURCES
  draws/LawNet.cpp
)
