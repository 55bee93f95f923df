list(APPEND TOVARIN_CORE_SOURCES
  engine/Bind.cpp
  engine/Code.cpp
  engine/PrjOptions.cpp
)
