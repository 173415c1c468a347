# Installs the build into a scratch prefix and checks that the programs, the
# desktop entry, the icons, the AppStream metainfo, the manual pages and the
# licence land where a desktop, a software centre and man look for them.
set(prefix "${BUILD_DIR}/install-check")
file(REMOVE_RECURSE "${prefix}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

function(expect_text file)
    file(READ "${prefix}/${file}" text)
    foreach(expected ${ARGN})
        string(FIND "${text}" "${expected}" at)
        if(at EQUAL -1)
            message(FATAL_ERROR "${file} lacks ${expected}")
        endif()
    endforeach()
endfunction()

set(entry share/applications/${APP_ID}.desktop)
set(metainfo share/metainfo/${APP_ID}.metainfo.xml)
foreach(path games/gulpo games/gulpo-replay ${entry} ${metainfo}
        share/icons/hicolor/scalable/apps/gulpo.svg
        share/man/man6/gulpo.6.gz share/man/man6/gulpo-replay.6.gz
        share/doc/gulpo/copyright share/doc/gulpo/changelog.gz)
    if(NOT EXISTS "${prefix}/${path}")
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

expect_text(${entry} "Name=Gulpo" "Exec=gulpo" "Icon=gulpo" "Type=Application")
expect_text(${metainfo} "<id>${APP_ID}</id>" "<launchable type=\"desktop-id\">${APP_ID}.desktop<"
            "<project_license>MIT</project_license>" "<release version=\"${VERSION}\"")
expect_text(share/doc/gulpo/copyright "License: Expat"
            "Copyright: 2026 The Gulpo developers" " Permission is hereby granted"
            " .\n The above copyright notice" " SOFTWARE.")

# A theme finds an icon by its folder, so each PNG must be the size its
# folder names: the width and height of a PNG are the first two fields of
# its header chunk, bytes 16 to 23.
foreach(size 16 32 48 64 128 256)
    set(icon share/icons/hicolor/${size}x${size}/apps/gulpo.png)
    if(NOT EXISTS "${prefix}/${icon}")
        message(FATAL_ERROR "not installed: ${icon}")
    endif()
    file(READ "${prefix}/${icon}" header OFFSET 16 LIMIT 8 HEX)
    string(SUBSTRING "${header}" 0 8 width)
    string(SUBSTRING "${header}" 8 8 height)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    if(NOT width EQUAL size OR NOT height EQUAL size)
        message(FATAL_ERROR "${icon} is not ${size} by ${size} but ${width} by ${height}")
    endif()
endforeach()

file(REMOVE_RECURSE "${prefix}")
message(STATUS "the programs, menu entry, icons, metainfo, manual pages and licence install in place")
