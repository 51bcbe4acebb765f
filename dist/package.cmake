# Debian package of both programs, built by `make package`. The shared-library
# dependencies (the Qt runtime among them) are found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvix)
set(CPACK_PACKAGE_VENDOR "Tarvix developers")
set(CPACK_PACKAGE_CONTACT "Tarvix developers <tarvix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Loaded dipole antenna calculator for radio amateurs")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://example.org/tarvi")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# tarvix-design --simulate runs the NEC-2 engine as a program.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "nec2c")
# The window is laid out for a small sans-serif font; these are the ones it looks for.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation | fonts-dejavu-core")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
