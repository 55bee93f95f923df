# The version of the headers that Debian installed.
include(/usr/share/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake)
