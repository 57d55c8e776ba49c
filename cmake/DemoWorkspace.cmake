# Assembles a complete installation in <build>/demo: links to both programs (the name "talkit"
# starts the form-only mode), the sample engine as TALPIX32, the settings file, the engine
# configuration, the type description files and the demo decks.
set(TAL_DEMO_DIR ${CMAKE_BINARY_DIR}/demo)
add_custom_target(demo ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TAL_DEMO_DIR}
  COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:talshell> ${TAL_DEMO_DIR}/talshell
  COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:talshell> ${TAL_DEMO_DIR}/talkit
  COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:talbatch> ${TAL_DEMO_DIR}/talbatch
  # The sample engine is the workspace's TALPIX32 (it replaces an earlier stand-in script).
  COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:talpix-sample> ${TAL_DEMO_DIR}/TALPIX32
  COMMAND ${CMAKE_COMMAND} -DFROM=${CMAKE_SOURCE_DIR}/demo -DTO=${TAL_DEMO_DIR} -P ${CMAKE_SOURCE_DIR}/cmake/CopyMissing.cmake
  # The manual is the program's, not the user's: every build installs its current pages.
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/demo/manual ${TAL_DEMO_DIR}/manual
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/demo/TALSHELL.html ${CMAKE_SOURCE_DIR}/demo/TALKIT.html
          ${CMAKE_SOURCE_DIR}/demo/Types.html ${CMAKE_SOURCE_DIR}/demo/Typeindx.html ${CMAKE_SOURCE_DIR}/demo/Error.html
          ${TAL_DEMO_DIR}
  # The settings file: engine and utility folders in the workspace itself, commands of this
  # platform. Only the named fields are set, so what the user stored in the demo stays.
  COMMAND $<TARGET_FILE:talbatch> settings set ${TAL_DEMO_DIR}
          talpix_dir=${TAL_DEMO_DIR} voxen_dir=${TAL_DEMO_DIR} lumet_dir=${TAL_DEMO_DIR}
          orva_dir=${TAL_DEMO_DIR} kanto_dir=${TAL_DEMO_DIR} mirell_dir=${TAL_DEMO_DIR}
          "compile_command=gfortran -c"
          "rebuild_command=make -f MAKTAL.DAT UPDATE"
          "user_command=ls -l"
  COMMAND ${CMAKE_COMMAND} -DTALBATCH=$<TARGET_FILE:talbatch> -DDIR=${TAL_DEMO_DIR} -P ${CMAKE_SOURCE_DIR}/cmake/DemoTable.cmake
  DEPENDS talshell talbatch talpix-sample
  COMMENT "Assembling the demo workspace in ${TAL_DEMO_DIR}"
  VERBATIM)
