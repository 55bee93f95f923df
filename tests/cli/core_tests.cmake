list(APPEND TOVARIN_CORE_TESTS
  cli/AnalyseCommandTest.cpp
  cli/CliRunner.cpp
  cli/DocCommandsTest.cpp
  cli/DocCommandsTextTest.cpp
  cli/DownloadCommandTest.cpp
  cli/EvalTest.cpp
  cli/SettingsArgsTest.cpp
  cli/SettingsCommandTest.cpp
)
