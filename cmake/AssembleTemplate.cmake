# Assembles the workspace template of an installed program in TEMPLATE, from the demo files in
# SOURCE: the program's own files at the top (settings file, engine configuration, type
# descriptions, header text, list data and help pages), the demo decks with their data in demo/.
# An installed program makes each user's program directory and demo workspace from it.
# Called with -DSOURCE=<demo folder> -DTEMPLATE=<folder> -DTALBATCH=<talbatch>.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${TEMPLATE}")
file(MAKE_DIRECTORY "${TEMPLATE}/demo")

# The program's files; every other demo file belongs to the demo workspace. TALWIN/ goes to both:
# Make TALKIT file reads it from the engine directory, and the demo form's lists beside the deck.
set(program_files CNFGTL.TAL Header.txt INFO TALWIN manual
    TALSHELL.html TALKIT.html Types.html Typeindx.html Error.html)
file(GLOB entries RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(entry IN LISTS entries)
  if(entry IN_LIST program_files)
    file(COPY "${SOURCE}/${entry}" DESTINATION "${TEMPLATE}")
  endif()
  if(NOT entry IN_LIST program_files OR entry STREQUAL "TALWIN")
    file(COPY "${SOURCE}/${entry}" DESTINATION "${TEMPLATE}/demo")
  endif()
endforeach()

# The settings file holds this platform's commands; the folders are written on each user's first
# start, when the program directory is known.
execute_process(COMMAND "${TALBATCH}" settings set "${TEMPLATE}"
                        "compile_command=gfortran -c" "rebuild_command=make -f MAKTAL.DAT UPDATE"
                        "user_command=ls -l"
                RESULT_VARIABLE written)
if(NOT written EQUAL 0)
  message(FATAL_ERROR "the template's settings file could not be written")
endif()
set(DIR "${TEMPLATE}/demo")
include("${CMAKE_CURRENT_LIST_DIR}/DemoTable.cmake")
