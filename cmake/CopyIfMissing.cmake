# cmake -DSOURCE=<file> -DTARGET=<file> -P CopyIfMissing.cmake
if(NOT EXISTS "${TARGET}")
  file(COPY_FILE "${SOURCE}" "${TARGET}")
endif()
