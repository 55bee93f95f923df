list(APPEND TOVARIN_CORE_TESTS
  dialogs/AppOptionsTest.cpp
  dialogs/IniFileTest.cpp
  dialogs/SettingsTest.cpp
)
