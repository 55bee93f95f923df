list(APPEND TOVARIN_CORE_SOURCES
  dialogs/AppOptions.cpp
)
