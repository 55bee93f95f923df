list(APPEND TOVARIN_CORE_TESTS
  draws/LawNetTest.cpp
  draws/NetViewTest.cpp
)
