list(APPEND TOVARIN_GUI_SOURCES
  draws/CodeNetGrid.cpp
  draws/CodesDlg.cpp
  draws/DataDown.cpp
  draws/DownloadActions.cpp
  draws/FindDialog.cpp
  draws/GridPainter.cpp
  draws/draws.qrc
)
