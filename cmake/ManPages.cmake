# Manual pages talshell(1) (talkit(1) the same page), talbatch(1) and talpix-sample(1), written at
# build time from the programs' --help texts (cmake/ManPage.cmake), installed in share/man/man1.
set(TAL_MAN_DIR ${CMAKE_BINARY_DIR}/man)
set(tal_man_pages "")
function(tal_man_page target summary)
  cmake_parse_arguments(page "COMMANDS" "" "SEE_ALSO" ${ARGN})
  set(out ${TAL_MAN_DIR}/${target}.1.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TAL_MAN_DIR}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${target}> -DNAME=${target} "-DSUMMARY=${summary}"
            -DVERSION=${PROJECT_VERSION} -DOUT=${out} -DCOMMANDS=${page_COMMANDS} "-DSEE_ALSO=${page_SEE_ALSO}"
            -P ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
    DEPENDS ${target} ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
    VERBATIM)
  set(tal_man_pages ${tal_man_pages} ${out} PARENT_SCOPE)
endfunction()

tal_man_page(talshell "desktop environment of the TALPIX simulation engine" SEE_ALSO talbatch talpix-sample)
tal_man_page(talbatch "TALSHELL's work without windows: settings, runs, forms, tables and plots"
  COMMANDS SEE_ALSO talshell talpix-sample)
tal_man_page(talpix-sample "the sample TALPIX simulation engine" SEE_ALSO talshell talbatch)
add_custom_target(manpages ALL DEPENDS ${tal_man_pages})

install(FILES ${tal_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# talkit is talshell in its form-only mode: the same page.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/links)
file(CREATE_LINK talshell.1.gz ${CMAKE_BINARY_DIR}/links/talkit.1.gz SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/links/talkit.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Completion of talbatch's commands and options in bash.
install(FILES packaging/talbatch.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME talbatch)
