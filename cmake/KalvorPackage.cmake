# Installing kalvor and packing it for Debian: "cmake --install" puts the two
# programs and the desktop files (data/) under GNUInstallDirs paths, and
# "cpack -G DEB" makes kalvor_<version>_amd64.deb of the same files.
include(GNUInstallDirs)

# The project's home: the AppStream record is known by its domain reversed, and
# names its page and screenshot; the package names it too.
set(KALVOR_HOMEPAGE "https://kalvor.example.org" CACHE STRING "Home page of kalvor")
set(KALVOR_APPSTREAM_ID "org.example.kalvor" CACHE STRING
    "AppStream component id: the home's domain reversed, then the program")
set(KALVOR_MAINTAINER "KalvorProject <kalvor@example.org>" CACHE STRING
    "Maintainer of the Debian package: name and mail address")

install(TARGETS kalvor kalvor-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Debian wants a copyright file and, for a package made outside a Debian source
# tree, a changelog in its own format, both under /usr/share/doc/kalvor.
set(KALVOR_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/kalvor)
string(TIMESTAMP KALVOR_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${PROJECT_SOURCE_DIR}/data/debian/changelog ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.gz
  COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${CMAKE_BINARY_DIR}/debian/changelog ${CMAKE_BINARY_DIR}/debian/changelog.gz
  DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog VERBATIM)
add_custom_target(kalvor_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${KALVOR_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalvor)
set(CPACK_PACKAGE_VENDOR KalvorProject)
set(CPACK_PACKAGE_CONTACT "${KALVOR_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "MPEG audio editor that cuts, joins and splits without re-encoding")
set(CPACK_PACKAGE_DESCRIPTION
    "kalvor edits MP3, MP2 and MP1 files by whole frames: delete, cut, copy,\n"
    "paste, paste another file, write a selection out, undo, save. The audio\n"
    "is never decoded and encoded again, so an edit keeps the original's\n"
    "quality. A list window splits a file at time positions into numbered\n"
    "pieces or builds one file from time ranges. The command-line tool\n"
    "kalvor-cli does the same from scripts.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KALVOR_HOMEPAGE}")
# Libraries the programs link come from the binaries; what kalvor loads at run
# time is named here: the GStreamer plugins of its playback graphs (parsers and
# decoders, the audio outputs), the Japanese font its windows are drawn in and
# Qt's own translations, which its dialogs speak.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-libav, fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-alsa")
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
