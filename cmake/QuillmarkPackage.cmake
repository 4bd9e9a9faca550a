# The Debian package: `cpack -G DEB` in any configured and built folder writes
# quillmark_<version>_<arch>.deb from the install rules. scripts/package makes a release build for
# it; scripts/test packs its test build the same way to check the package.
#
# Shared libraries the programs link become dependencies through dpkg-shlibdeps; what the
# programs load or read at run time without linking it is listed here by hand.

set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VENDOR "The Quillmark developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "mailing-list manager: address files, labels, envelopes, letters")
# Debian shows the description in 80 columns, each line indented by one blank.
set(CPACK_PACKAGE_DESCRIPTION
    "Quillmark keeps names and addresses in xBase address files (DBF with CDX
index and FPT memo) and prints them on commercial label sheets, envelopes
with postal barcodes, merged form letters and reports. It imports from
comma-separated text and other xBase tables, copies records out, checks for
duplicates and questionable state/ZIP pairs, and edits records in bulk.
.
The package holds the desktop program quillmark and the command-line tool
quillmark-tool, which prints labels, envelopes, letters and reports to PDF
and maintains the tables without windows.")
set(CPACK_PACKAGE_CONTACT ${QM_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_INSTALL_DIRECTORY quillmark)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QM_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Loaded at run time, not linked: Qt's window-system plugins (the X11 and Wayland platforms), the
# SVG plugins that draw the program's icons, the fonts the stored layouts name (Arial and Times
# New Roman through their metric twins) and the US English dictionary the spell checker opens.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, fonts-liberation2, hunspell-en-us")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")

include(CPack)
