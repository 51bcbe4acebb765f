# Debian package of both programs, built by `make package`. The shared-library
# dependencies (the Qt runtime among them) are found by dpkg-shlibdeps.
include(${PROJECT_SOURCE_DIR}/dist/copyright.cmake)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvix)
set(CPACK_PACKAGE_VENDOR "Tarvix developers")
set(CPACK_PACKAGE_CONTACT "${TARVIX_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Loaded dipole antenna calculator for radio amateurs")
set(CPACK_PACKAGE_HOMEPAGE_URL "${TARVIX_HOMEPAGE}")
# Lines of at most 79 characters: each is shown indented by one blank.
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvix designs a loaded half-wave dipole for the HF bands when there is not
room for a full-size one. From the frequency, the total length, the distance of
the coils from the centre and the wire gauge it computes the inductance of each
loading coil, then the number of close-wound turns on a coil former and the
length of the finished coil.

The package holds the Tarvix window and tarvix-design, which does the same
from the command line, sweeps the coil position, solves the designed antenna
in nec2c to say how much inductance it really needs, and writes a NEC-2 deck
of the design for other antenna simulators. Tarvix Antenna Check
(tarvix-check) shows that simulation in a window, with its SWR plot.")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# tarvix-design --simulate runs the NEC-2 engine as a program.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "nec2c")
# The window is laid out for a small sans-serif font; these are the ones it looks for.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation | fonts-dejavu-core")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)

set(tarvix_docdir ${CMAKE_INSTALL_DATADIR}/doc/tarvix)
install(FILES ${PROJECT_BINARY_DIR}/dist/copyright ${PROJECT_BINARY_DIR}/dist/changelog.gz
        DESTINATION ${tarvix_docdir})

include(CPack)
