# The files the program finds beside itself, and the install rules.
set(TOVARIN_DATA_DIR ${PROJECT_SOURCE_DIR}/data)
set(TOVARIN_HELP_FILES ${TOVARIN_DATA_DIR}/readme.txt ${TOVARIN_DATA_DIR}/Readme.txt)
set(TOVARIN_WORK_DOCUMENT ${TOVARIN_DATA_DIR}/工作文档.lvrn)

if(TARGET tovarin)
  # The help texts follow the sources; the working document is copied only
  # while the build folder has none, so a rebuild never overwrites the
  # user's work in it.
  add_custom_command(TARGET tovarin POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TOVARIN_HELP_FILES} $<TARGET_FILE_DIR:tovarin>
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${TOVARIN_WORK_DOCUMENT}
            -DTARGET=$<TARGET_FILE_DIR:tovarin>/工作文档.lvrn
            -P ${PROJECT_SOURCE_DIR}/cmake/CopyIfMissing.cmake
    VERBATIM)

  include(GNUInstallDirs)
  if(WIN32)
    # One folder: the programs, the help and the example document (the
    # libraries they need come from cmake/WindowsRuntime.cmake). Windows
    # cannot keep readme.txt and Readme.txt apart: the help serves both.
    install(TARGETS tovarin RUNTIME DESTINATION .)
    install(FILES ${TOVARIN_DATA_DIR}/readme.txt ${TOVARIN_WORK_DOCUMENT} DESTINATION .)
    return()
  endif()
  install(TARGETS tovarin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${TOVARIN_HELP_FILES} ${TOVARIN_WORK_DOCUMENT}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/tovarin)
  install(FILES ${TOVARIN_DATA_DIR}/tovarin.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  # The document type: a file manager opens *.lvrn files with the program.
  install(FILES ${TOVARIN_DATA_DIR}/tovarin-mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME tovarin.xml)
  # The desktop's caches learn of both at once, unless the install is staged
  # for a package (whose own scripts then do it).
  install(CODE [[
    if(NOT DEFINED ENV{DESTDIR} OR "$ENV{DESTDIR}" STREQUAL "")
      find_program(TOVARIN_UPDATE_MIME update-mime-database)
      find_program(TOVARIN_UPDATE_DESKTOP update-desktop-database)
      if(TOVARIN_UPDATE_MIME)
        execute_process(COMMAND ${TOVARIN_UPDATE_MIME} "${CMAKE_INSTALL_PREFIX}/share/mime")
      endif()
      if(TOVARIN_UPDATE_DESKTOP)
        execute_process(COMMAND ${TOVARIN_UPDATE_DESKTOP} "${CMAKE_INSTALL_PREFIX}/share/applications")
      endif()
    endif()
  ]])
  install(FILES ${PROJECT_SOURCE_DIR}/src/gui/mainwin/icons/tovarin.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
