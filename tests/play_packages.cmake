cmake_minimum_required(VERSION 3.25)
# What the play command asks apt-get for (install-deps --list play) names no
# sound or display server, compositor, linter, test or packaging tool: a
# player's desktop runs as it did. Everything is listed once, and the
# test command's list holds the player's.
function(listed need out)
    execute_process(COMMAND "${INSTALL_DEPS}" --list ${need}
                    OUTPUT_VARIABLE text ERROR_VARIABLE error RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "install-deps --list ${need} failed (${status}): ${error}")
    endif()
    string(REGEX MATCHALL "[^\n]+" packages "${text}")
    set(${out} ${packages} PARENT_SCOPE)
endfunction()

listed(play play)
listed(test test)
if(NOT play)
    message(FATAL_ERROR "the play list is empty")
endif()
set(forbidden
    # servers, buses and compositors
    "^xvfb$" "^xserver-" "^weston" "^pulseaudio" "^pipewire" "^wireplumber$"
    "^dbus-daemon$" "^dbus-x11$" "^at-spi2-core$"
    # what drives or reads the program in tests, and a browser to test in
    "^xdotool$" "^python3-pyatspi$" "^chromium" "selenium"
    # test and benchmark libraries
    "^libgtest-dev$" "^libgmock-dev$" "^googletest$" "^libbenchmark-dev$"
    # linters, formatters, the sanitizers' clang, the package's checkers
    "^clang" "^libclang-rt" "lint" "^desktop-file-utils$" "^appstream$" "^dpkg-dev$")
foreach(package IN LISTS play)
    foreach(pattern IN LISTS forbidden)
        if(package MATCHES "${pattern}")
            list(APPEND unwanted ${package})
        endif()
    endforeach()
    if(NOT package IN_LIST test)
        list(APPEND untested ${package})
    endif()
endforeach()
if(unwanted)
    message(FATAL_ERROR "a player's install would get: ${unwanted}")
endif()
if(untested)
    message(FATAL_ERROR "the test command would not install: ${untested}")
endif()
