# The copyright file in the machine-readable format, with the text of LICENSE
# and the credits of the libraries compiled in: the package installs it, and
# the browser edition serves it.
set(TARVIX_CONTACT "Tarvix developers <tarvix@example.org>")
set(TARVIX_HOMEPAGE "https://example.org/tarvi")
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" copyright_line "${license}")
set(TARVIX_COPYRIGHT ${CMAKE_MATCH_1})
string(FIND "${license}" "Permission" body_start)
string(SUBSTRING "${license}" ${body_start} -1 license_body)
string(STRIP "${license_body}" license_body)
string(REPLACE "\n\n" "\n.\n" license_body "${license_body}")
string(REPLACE "\n" "\n " TARVIX_LICENSE_TEXT " ${license_body}")
configure_file(${PROJECT_SOURCE_DIR}/dist/copyright.in ${PROJECT_BINARY_DIR}/dist/copyright @ONLY)
