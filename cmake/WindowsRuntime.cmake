# What the Windows programs need beside them: MinGW's run-time libraries
# and, with the desktop program, the Qt libraries, QCustomPlot, the Qt
# plugins they load, Qt's own texts in Chinese and a qt.conf that points Qt
# at them. The same files go into the build folder's bin (where the tests
# run under Wine) and into the package (cmake --install, flat). The tests
# also get Qt Test and the offscreen platform, which the package leaves out.

# The posix thread model's run-time: the C++ library, GCC's unwinder and
# the threads, shared with Qt's libraries.
set(tovarin_runtime_libraries "")
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} has no ${dll}")
  endif()
  get_filename_component(path "${path}" REALPATH)
  list(APPEND tovarin_runtime_libraries "${path}")
endforeach()

set(tovarin_runtime_plugins "")
set(tovarin_test_libraries "")
set(tovarin_test_plugins "")
if(TOVARIN_GUI)
  foreach(lib Core Gui Widgets Network PrintSupport)
    list(APPEND tovarin_runtime_libraries $<TARGET_FILE:Qt6::${lib}>)
  endforeach()
  list(APPEND tovarin_runtime_libraries $<TARGET_FILE:QCustomPlotQt6::QCustomPlotQt6>)
  # The window system, the native look, and HTTPS for the draw download.
  set(tovarin_runtime_plugins platforms/qwindows.dll styles/qwindowsvistastyle.dll
                              tls/qschannelbackend.dll)
  set(tovarin_test_libraries $<TARGET_FILE:Qt6::Test>)
  set(tovarin_test_plugins platforms/qoffscreen.dll)

  find_file(TOVARIN_QT_CHINESE qtbase_zh_CN.qm PATHS /usr/share/qt6/translations
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT TOVARIN_QT_CHINESE)
    message(FATAL_ERROR "qtbase_zh_CN.qm not found: install qt6-translations-l10n")
  endif()
endif()
set(qt_plugins ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})

# Qt looks for its plugins and translations beside the program.
set(tovarin_qt_conf ${CMAKE_BINARY_DIR}/qt.conf)
file(WRITE ${tovarin_qt_conf} "[Paths]\nPrefix=.\nPlugins=plugins\nTranslations=translations\n")

set(bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
set(copy_commands
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${tovarin_runtime_libraries}
          ${tovarin_test_libraries} ${bin})
if(TOVARIN_GUI)
  list(APPEND copy_commands
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${tovarin_qt_conf} ${bin}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}/translations
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TOVARIN_QT_CHINESE} ${bin}/translations)
  foreach(plugin IN LISTS tovarin_runtime_plugins tovarin_test_plugins)
    get_filename_component(folder ${plugin} DIRECTORY)
    list(APPEND copy_commands
      COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}/plugins/${folder}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qt_plugins}/${plugin} ${bin}/plugins/${folder})
  endforeach()
endif()
add_custom_target(tovarin_windows_runtime ALL ${copy_commands} VERBATIM)

install(FILES ${tovarin_runtime_libraries} DESTINATION .)
if(TOVARIN_GUI)
  install(FILES ${tovarin_qt_conf} DESTINATION .)
  install(FILES ${TOVARIN_QT_CHINESE} DESTINATION translations)
  foreach(plugin IN LISTS tovarin_runtime_plugins)
    get_filename_component(folder ${plugin} DIRECTORY)
    install(FILES ${qt_plugins}/${plugin} DESTINATION plugins/${folder})
  endforeach()
endif()

# make windows-package: the zip and the setup program of the product's
# version (scripts/windows-package.sh); make windows-test checks them.
file(STRINGS ${PROJECT_SOURCE_DIR}/src/core/base/Version.h version_line REGEX "kVersionText = ")
string(REGEX REPLACE ".*\"(.*)\".*" "\\1" TOVARIN_VERSION_TEXT "${version_line}")
if(TOVARIN_GUI)
  add_custom_target(windows_package
    COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/windows-package.sh ${CMAKE_BINARY_DIR}
            ${TOVARIN_VERSION_TEXT}
    DEPENDS tovarin tovarin-cli
    VERBATIM USES_TERMINAL)
  # make windows-test's last step, on the package made before.
  add_custom_target(windows_check
    COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/windows-check.sh ${CMAKE_BINARY_DIR}
            ${TOVARIN_VERSION_TEXT}
    VERBATIM USES_TERMINAL)
endif()
