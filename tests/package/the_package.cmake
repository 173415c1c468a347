# The one Debian package the package build left in PACKAGE_DIR, as `deb`.
file(GLOB debs "${PACKAGE_DIR}/gulpo_*.deb")
list(LENGTH debs count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one gulpo package in ${PACKAGE_DIR}, found ${count}: ${debs}")
endif()
set(deb "${debs}")
