# Copies the files of FROM into TO that TO does not have yet, so a rebuild keeps what the user
# changed in the workspace.
file(GLOB_RECURSE files RELATIVE "${FROM}" "${FROM}/*")
foreach(f IN LISTS files)
  if(NOT EXISTS "${TO}/${f}")
    get_filename_component(dir "${TO}/${f}" DIRECTORY)
    file(MAKE_DIRECTORY "${dir}")
    file(COPY "${FROM}/${f}" DESTINATION "${dir}" USE_SOURCE_PERMISSIONS)
  endif()
endforeach()
