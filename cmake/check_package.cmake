# Builds the .deb into a scratch folder and fails unless its Depends name every shared library the
# program is linked against through Qt and SQLite (dpkg-shlibdeps finds them; nothing is listed by hand).
# Run with: cmake -DBINARY_DIR=<build dir> -DWORK_DIR=<scratch> -P check_package.cmake
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} --config "${BINARY_DIR}/CPackConfig.cmake" -G DEB -B "${WORK_DIR}"
                RESULT_VARIABLE built OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(GLOB debs "${WORK_DIR}/*.deb")
if(NOT built EQUAL 0 OR NOT debs)
  message(FATAL_ERROR "cpack failed:\n${log}")
endif()
list(GET debs 0 deb)
execute_process(COMMAND dpkg-deb -f "${deb}" Depends OUTPUT_VARIABLE depends OUTPUT_STRIP_TRAILING_WHITESPACE)
file(REMOVE_RECURSE "${WORK_DIR}")
message(STATUS "Depends: ${depends}")
foreach(package libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6charts6 libsqlite3-0)
  if(NOT depends MATCHES "(^|, )${package} ")
    message(FATAL_ERROR "the package does not depend on ${package}: ${depends}")
  endif()
endforeach()
