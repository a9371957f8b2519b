# `make package`: a Debian package of the installed tree. Its dependencies on libraries come
# from the programs themselves (dpkg-shlibdeps), so they follow what is really linked.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumicrate)
set(CPACK_PACKAGE_VENDOR "The Lumicrate developers")
set(CPACK_PACKAGE_CONTACT "The Lumicrate developers <packages@lumicrate.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://lumicrate.example/Lumicrate")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "import photos and videos into folders by capture date")
# The synopsis is the summary above; CPack indents this text and marks its empty line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Lumicrate (ルミクレート) copies photos, movies and sound recordings from a
memory card, a camera, an iPhone or any folder into one output folder, filed
by capture date in year, month and day folders, and never copies content the
output folder already holds. It builds a static HTML photo album over the
output folder.

This package holds the desktop program lumicrate, with a Japanese user
interface, and the command-line tool lumicrate-cli.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Qt loads the window icon's SVG through a plugin, which no program links, so it is named here.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# What else is loaded at run time rather than linked, so shlibdeps cannot see it: a Japanese font for
# the window's texts, Qt's own Japanese texts, xdg-open for the album and web pages, and the MIME
# database that names file types.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "fonts-noto-cjk | fonts-ipafont-gothic | fonts-vlgothic, qt6-translations-l10n, xdg-utils, shared-mime-info")

include(CPack)
