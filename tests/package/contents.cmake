# The package holds the two programs in /usr/games, the menu entry, the
# icons at every theme size, the metainfo, the manual pages, the copyright
# file and the changelog, all owned by root, and no other file.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/the_package.cmake)
execute_process(COMMAND dpkg-deb --contents "${deb}"
                RESULT_VARIABLE status OUTPUT_VARIABLE listing ERROR_VARIABLE listing)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "dpkg-deb --contents failed:\n${listing}")
endif()

set(programs ./usr/games/gulpo ./usr/games/gulpo-replay)
set(expected ${programs}
    ./usr/share/applications/${APP_ID}.desktop
    ./usr/share/metainfo/${APP_ID}.metainfo.xml
    ./usr/share/icons/hicolor/scalable/apps/gulpo.svg
    ./usr/share/man/man6/gulpo.6.gz
    ./usr/share/man/man6/gulpo-replay.6.gz
    ./usr/share/doc/gulpo/copyright
    ./usr/share/doc/gulpo/changelog.gz)
foreach(size 16 22 24 32 36 48 64 72 96 128 192 256 512)
    list(APPEND expected ./usr/share/icons/hicolor/${size}x${size}/apps/gulpo.png)
endforeach()

string(REPLACE "\n" ";" lines "${listing}")
set(files)
foreach(line ${lines})
    if(NOT line MATCHES "^([-dl][rwxs-]+) ([^ ]+) +[0-9]+ [0-9-]+ [0-9:]+ (.*)$")
        continue()
    endif()
    set(mode "${CMAKE_MATCH_1}")
    set(owner "${CMAKE_MATCH_2}")
    set(path "${CMAKE_MATCH_3}")
    if(NOT owner STREQUAL "root/root")
        message(FATAL_ERROR "${path} belongs to ${owner}, not root")
    endif()
    if(mode MATCHES "^-")
        list(APPEND files "${path}")
        if(path IN_LIST programs)
            set(want "-rwxr-xr-x")
        else()
            set(want "-rw-r--r--")
        endif()
        if(NOT mode STREQUAL want)
            message(FATAL_ERROR "${path} has mode ${mode}, not ${want}")
        endif()
    elseif(mode MATCHES "^d" AND NOT mode STREQUAL "drwxr-xr-x")
        message(FATAL_ERROR "folder ${path} has mode ${mode}")
    endif()
endforeach()

list(SORT files)
list(SORT expected)
if(NOT files STREQUAL expected)
    set(missing ${expected})
    list(REMOVE_ITEM missing ${files})
    set(extra ${files})
    list(REMOVE_ITEM extra ${expected})
    message(FATAL_ERROR "the package's files are not the game's:\n"
                        "missing: ${missing}\nnot expected: ${extra}\n${listing}")
endif()
list(LENGTH files count)
message(STATUS "${deb} holds the game's ${count} files and no other")
