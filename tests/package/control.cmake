# The package's control fields: its name, version and section, the
# dependencies dpkg-shlibdeps found for the programs (so versioned, and
# naming the Qt 6 widgets library and the C library), the run-time pieces it
# recommends, and a changelog whose newest entry is this version.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/the_package.cmake)

function(field name out)
    execute_process(COMMAND dpkg-deb --field "${deb}" ${name}
                    RESULT_VARIABLE status OUTPUT_VARIABLE value ERROR_VARIABLE error
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "dpkg-deb --field ${name} failed: ${error}")
    endif()
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

function(expect name value)
    field(${name} actual)
    if(NOT actual STREQUAL value)
        message(FATAL_ERROR "${name}: '${actual}', expected '${value}'")
    endif()
endfunction()

expect(Package gulpo)
expect(Version ${VERSION})
expect(Section games)
expect(Priority optional)
expect(Recommends "sound-theme-freedesktop, libcanberra-pulse, qt6-wayland")

field(Depends depends)
message(STATUS "Depends: ${depends}")
foreach(library libqt6widgets6 libqt6gui6 libqt6core6 libstdc\\+\\+6 libc6)
    if(NOT depends MATCHES "(^|, )${library}[a-z0-9]* \\(>= [^)]+\\)")
        message(FATAL_ERROR "Depends does not name ${library} at a version, as "
                            "dpkg-shlibdeps would: ${depends}")
    endif()
endforeach()

execute_process(COMMAND dpkg-deb --fsys-tarfile "${deb}"
                COMMAND tar -xOf - ./usr/share/doc/gulpo/changelog.gz
                COMMAND gzip -dc
                RESULT_VARIABLE status OUTPUT_VARIABLE changelog)
if(NOT changelog MATCHES "^gulpo \\(([^)]+)\\) ")
    message(FATAL_ERROR "the changelog does not start with an entry for gulpo:\n${changelog}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
    message(FATAL_ERROR "the changelog's newest entry is ${CMAKE_MATCH_1}, the package ${VERSION}")
endif()
