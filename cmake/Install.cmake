# What `cmake --install` puts where (GNUInstallDirs): the three programs and a "talkit" link in
# bin/, the workspace template in share/talshell (bin/../share/talshell marks an installed program,
# see src/core/support/InstalledProgram.h), the manual and the engine's reference pages in
# share/doc/talshell.
include(GNUInstallDirs)

set(TAL_TEMPLATE_DIR ${CMAKE_BINARY_DIR}/template)
add_custom_target(template ALL
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/demo -DTEMPLATE=${TAL_TEMPLATE_DIR}
          -DTALBATCH=$<TARGET_FILE:talbatch> -P ${CMAKE_SOURCE_DIR}/cmake/AssembleTemplate.cmake
  DEPENDS talbatch
  COMMENT "Assembling the installed workspace template in ${TAL_TEMPLATE_DIR}"
  VERBATIM)

install(TARGETS talshell talbatch talpix-sample RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A link named "talkit" starts the form-only mode.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/links)
file(CREATE_LINK talshell ${CMAKE_BINARY_DIR}/links/talkit SYMBOLIC)
install(PROGRAMS ${CMAKE_BINARY_DIR}/links/talkit DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${TAL_TEMPLATE_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/talshell)
install(FILES demo/TALSHELL.html demo/TALKIT.html demo/Types.html demo/Typeindx.html demo/Error.html
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY demo/manual DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The install test installs this build into a temporary DESTDIR.
target_compile_definitions(talcore_tests PRIVATE TAL_BINARY_DIR="${CMAKE_BINARY_DIR}" TAL_CMAKE_COMMAND="${CMAKE_COMMAND}")
add_dependencies(talcore_tests template talshell talpix-sample)
target_compile_definitions(talcore_tests PRIVATE TAL_TALSHELL_PATH="$<TARGET_FILE:talshell>"
  TAL_ENGINE_PATH="$<TARGET_FILE:talpix-sample>" TAL_VERSION="${PROJECT_VERSION}")
add_dependencies(talcore_tests demo)
