# Lintian finds no error in the package; its warnings are printed.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/the_package.cmake)
execute_process(COMMAND lintian --fail-on error --display-info "${deb}"
                RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE report)
message(STATUS "lintian ${deb}:\n${report}")
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lintian finds errors in the package")
endif()
