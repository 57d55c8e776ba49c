# Assembles a complete installation in <build>/demo: links to both programs (the name "talkit"
# starts the form-only mode), the settings file, the engine configuration and a sample deck.
set(TAL_DEMO_DIR ${CMAKE_BINARY_DIR}/demo)
add_custom_target(demo ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TAL_DEMO_DIR}
  COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:talshell> ${TAL_DEMO_DIR}/talshell
  COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:talshell> ${TAL_DEMO_DIR}/talkit
  COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:talbatch> ${TAL_DEMO_DIR}/talbatch
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/demo ${TAL_DEMO_DIR}
  DEPENDS talshell talbatch
  COMMENT "Assembling the demo workspace in ${TAL_DEMO_DIR}")
