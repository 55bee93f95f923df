list(APPEND TOVARIN_CORE_TESTS
  draws/DownloadServer.cpp
  draws/DownloadTest.cpp
  draws/LawNetTest.cpp
  draws/NetViewTest.cpp
)
