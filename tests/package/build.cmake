# Makes the Debian package of the build with CPack, in a scratch folder.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${PACKAGE_DIR}")
execute_process(COMMAND "${CPACK}" -G DEB --config "${BUILD_DIR}/CPackConfig.cmake"
                        -B "${PACKAGE_DIR}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cpack failed (${status}):\n${out}")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/the_package.cmake)
message(STATUS "built ${deb}")
