target_sources(tovarin-cli PRIVATE
  cli/AnalyseCommand.cpp
  cli/Args.cpp
  cli/DocCommands.cpp
  cli/Document.cpp
  cli/DownloadCommand.cpp
  cli/EvalCommand.cpp
  cli/main.cpp
  cli/SettingsArgs.cpp
  cli/SettingsCommand.cpp
)
