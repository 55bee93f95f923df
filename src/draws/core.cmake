list(APPEND TOVARIN_CORE_SOURCES
  draws/Download.cpp
  draws/LawNet.cpp
  draws/NetView.cpp
)
