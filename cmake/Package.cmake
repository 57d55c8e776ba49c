# The Debian package: `cpack -G DEB` in the build folder (scripts/package.sh) writes
# talshell_VERSION_ARCH.deb. Library dependencies come from the linked libraries (dpkg-shlibdeps);
# the packages named here are needed at run time but no library depends on them: the platform
# plugins (only recommended by Qt's GUI library, which Debian installs without recommends in
# containers), the fonts forms and metafiles are drawn with.
configure_file(packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/packaging/changelog -c > ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog)
add_custom_target(changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talshell)
set(CPACK_PACKAGE_VENDOR "The TALSHELL developers")
set(CPACK_PACKAGE_CONTACT "The TALSHELL developers <talshell@talpix.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop environment for the TALPIX simulation engine")
set(CPACK_PACKAGE_DESCRIPTION "TALSHELL edits simulation decks, runs the TALPIX engine on them and shows
the listings, output files and plots it writes; parametric tables run a deck
once per row of values, on this computer or on a Slurm cluster. TALKIT, its
form-only mode, shows annotated decks as forms. talbatch drives the same work
from the command line, and talpix-sample is a small sample engine that runs
the demo workspace.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.talpix.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, fonts-urw-base35")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
