list(APPEND TOVARIN_GUI_SOURCES
  dialogs/BindAtt.cpp
  dialogs/PrjAtt.cpp
)
