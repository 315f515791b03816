# The Debian package: `cpack -G DEB` in the build folder (scripts/package).
# Its Depends come from dpkg-shlibdeps, so they follow the libraries the
# programs really link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quillon developers <quillon@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure barcode scanners and print configuration barcodes")
# CPack puts the summary above this as the description's first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quillon changes the settings of barcode scanners: online over a serial port,
checking every reply and reading the settings back, or offline by printing
sheets of configuration barcodes that the scanner reads.  The settings come
from an XML catalogue; the bundled one is installed with the program.
.
The package holds the desktop program quillon, the command-line tool
quillon-cli and quillon-sim, a simulated scanner on a pseudo-terminal.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's texts are Chinese, and so are the buttons and the file and
# print dialogs that Qt provides, given its translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# Only what the install rules name; tests and benchmarks stay out.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
