list(APPEND TOVARIN_GUI_SOURCES
  mainwin/AnalysesActions.cpp
  mainwin/Main.cpp
  mainwin/MainCommands.cpp
  mainwin/MainLists.cpp
  mainwin/OutputArea.cpp
  mainwin/PrjListView.cpp
  mainwin/UserDialogs.cpp
  mainwin/Application.cpp
  mainwin/mainwin.qrc
)
