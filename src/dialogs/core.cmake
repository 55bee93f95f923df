list(APPEND TOVARIN_CORE_SOURCES
  dialogs/AppOptions.cpp
  dialogs/IniFile.cpp
  dialogs/Settings.cpp
)
