# The Debian package built by `cpack -G DEB` (make package). The package's
# library dependencies, Qt's among them, are found by dpkg-shlibdeps; so are
# the runtime libraries of Clipper (libpolyclipping22) and dxflib
# (libdxflib3) that the engine links, as soon as a program uses the floor
# plan (the linker keeps a library only where it is used).
set(CPACK_PACKAGE_NAME zorva)
set(CPACK_PACKAGE_VENDOR "Zorva developers")
set(CPACK_PACKAGE_CONTACT "Zorva developers <zorva@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design calculator for hot-water floor radiant heating")
set(CPACK_PACKAGE_DESCRIPTION
    "Zorva calculates one loop of a hot-water floor radiant heating system: from the design\n"
    "temperatures, the pipe layout and the floor construction it finds the heat output per\n"
    "square metre, the mean floor surface temperature, the water flow, velocity and the\n"
    "loop's water resistance. The user interface is in simplified Chinese.\n"
    "zorva-calc, also installed, runs the same method from the command line on one design,\n"
    "on CSV tables of designs (streamed over all cores) and on manifold project files.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialog texts and buttons in Chinese, and Qt Charts and Qt SVG,
# which draw and save the characteristic curves (added to the library
# dependencies found above).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, libqt6charts6, libqt6svg6")
# The Chinese interface needs a font with Chinese characters.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-arphic-uming | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fonts-liberation")

# The package's copyright file, in the machine-readable form Debian asks for.
include(GNUInstallDirs)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(CPack)
