list(APPEND TOVARIN_CORE_SOURCES
  mainwin/Analyses.cpp
  mainwin/AppInfo.cpp
  mainwin/WorkFolder.cpp
)
