list(APPEND TOVARIN_CORE_SOURCES
  engine/Bind.cpp
  engine/Code.cpp
  engine/Prj.cpp
  engine/PrjOptions.cpp
)
