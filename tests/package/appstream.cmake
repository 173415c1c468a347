# A software centre reading the unpacked package finds the metainfo, the
# desktop entry it launches and the icon, with no warning.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/the_package.cmake)
set(tree "${PACKAGE_DIR}/unpacked")
file(REMOVE_RECURSE "${tree}")
execute_process(COMMAND dpkg-deb -x "${deb}" "${tree}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "dpkg-deb -x failed: ${status}")
endif()
execute_process(COMMAND appstreamcli validate-tree --no-net --pedantic "${tree}"
                RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE report)
message(STATUS "appstreamcli validate-tree:\n${report}")
if(NOT status EQUAL 0 OR report MATCHES "(^|\n)[EW]: ")
    message(FATAL_ERROR "appstreamcli finds fault with the installed tree")
endif()
file(REMOVE_RECURSE "${tree}")
