# The Debian package: cpack -G DEB in the build folder makes sleevix_<version>_<arch>.deb. Its
# dependencies on shared libraries come from dpkg-shlibdeps; the ones no library link shows are
# named here: the platform plugin that lets Qt open a window at all (only a recommendation of
# Qt's own packages), and the fonts the program substitutes for Verdana and Arial.
include(DebianVersion)
debian_version(SLEEVIX_DEBIAN_VERSION "${SLEEVIX_VERSION_TEXT}")

set(CPACK_PACKAGE_NAME sleevix)
set(CPACK_PACKAGE_VENDOR "Sleevix Software")
set(CPACK_PACKAGE_CONTACT "Anna de Vries <anna@sleevix.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lay out and print the paper insert of a CD jewel case")
set(CPACK_PACKAGE_DESCRIPTION
    "Sleevix makes the printed insert of a CD jewel case: a square front cover\n"
    "from a picture, a back cover with the list of contents written in a rich-text\n"
    "editor, and the two spines with one line of text each, shown at full size and\n"
    "printed on one A4 page with crop marks. Each cover is kept as a project\n"
    "folder. English and Dutch.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_VERSION "${SLEEVIX_VERSION_TEXT}")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_VERSION "${SLEEVIX_DEBIAN_VERSION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.sleevix.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libssl3 brings libcrypto, which the program loads itself when it checks a download.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core, fonts-liberation2, libssl3")
# Qt's own Dutch texts for the file and print dialogs; without them those stay English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_GENERATOR DEB)
include(CPack)
