list(APPEND TOVARIN_CORE_SOURCES
  base/ByteStream.cpp
  base/Codec.cpp
  base/DateTime.cpp
  base/FileIO.cpp
  base/HttpGet.cpp
  base/PathCheck.cpp
  base/ProgramDir.cpp
  base/Random.cpp
  base/Text.cpp
)
