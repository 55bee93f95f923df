list(APPEND TOVARIN_CORE_SOURCES
  mainwin/Analyses.cpp
)
