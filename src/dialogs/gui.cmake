list(APPEND TOVARIN_GUI_SOURCES
  dialogs/BindAtt.cpp
  dialogs/Options.cpp
  dialogs/PrjAtt.cpp
)
