# Desktop integration of the installed program: menu entries for TALSHELL and TALKIT, the document
# types they open from a file manager, the icons at the sizes of the hicolor theme (drawn from the
# SVG at build time) and the AppStream description of the program.
add_executable(talrendericon packaging/RenderIcon.cpp)
target_link_libraries(talrendericon PRIVATE Qt6::Gui Qt6::Svg)

set(TAL_ICON_SIZES 16 24 32 48 64 128 256)
set(TAL_ICON_DIR ${CMAKE_BINARY_DIR}/icons/hicolor)
set(rendered_icons "")
foreach(icon talshell talkit)
  foreach(size IN LISTS TAL_ICON_SIZES)
    set(png ${TAL_ICON_DIR}/${size}x${size}/apps/${icon}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${TAL_ICON_DIR}/${size}x${size}/apps
      COMMAND talrendericon ${CMAKE_SOURCE_DIR}/packaging/icons/${icon}.svg ${size} ${png}
      DEPENDS talrendericon ${CMAKE_SOURCE_DIR}/packaging/icons/${icon}.svg
      VERBATIM)
    list(APPEND rendered_icons ${png})
  endforeach()
endforeach()
add_custom_target(icons ALL DEPENDS ${rendered_icons})

install(DIRECTORY ${TAL_ICON_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES packaging/icons/talshell.svg packaging/icons/talkit.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES packaging/example.talpix.talshell.desktop packaging/example.talpix.talkit.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/talshell-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME talshell.xml)
install(FILES packaging/example.talpix.talshell.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The desktop's own checkers accept the menu entries and the AppStream description.
add_test(NAME desktop_entries_valid
  COMMAND desktop-file-validate ${CMAKE_SOURCE_DIR}/packaging/example.talpix.talshell.desktop
          ${CMAKE_SOURCE_DIR}/packaging/example.talpix.talkit.desktop)
add_test(NAME appstream_metainfo_valid
  COMMAND appstreamcli validate --no-net ${CMAKE_SOURCE_DIR}/packaging/example.talpix.talshell.metainfo.xml)
