# Writes the manual page OUT (gzip-compressed) of PROGRAM from its own --help text, so the page
# says what the program says; for talbatch a section per command from `talbatch COMMAND --help`.
# Called with -DPROGRAM=<executable> -DNAME=<name> -DSUMMARY=<one line> -DVERSION=<version>
# -DOUT=<page.1.gz> [-DCOMMANDS=ON] [-DSEE_ALSO=<name;name...>]. With COMMANDS the commands are the
# first words of the help text's lines under "commands:".

# Text as roff shows it: backslashes escaped, a line starting with "." or "'" not read as a request.
cmake_minimum_required(VERSION 3.25)
function(roff_text text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(help_of out)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE help RESULT_VARIABLE status
                  ENCODING UTF-8)
  if(NOT status EQUAL 0)
    string(REPLACE ";" " " line "${ARGN}")
    message(FATAL_ERROR "${line} ended with status ${status}")
  endif()
  roff_text("${help}" help)
  set(${out} "${help}" PARENT_SCOPE)
endfunction()

string(TOUPPER "${NAME}" upper)
execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE plain_help)
help_of(help "${PROGRAM}" --help)
set(page ".TH ${upper} 1 \"\" \"${NAME} ${VERSION}\" \"TALSHELL\"\n")
string(APPEND page ".SH NAME\n${NAME} \\- ${SUMMARY}\n")
string(APPEND page ".SH DESCRIPTION\n.nf\n${help}.fi\n")
if(COMMANDS)
  string(REGEX REPLACE "^.*\ncommands:\n" "" listed "${plain_help}")
  string(REGEX MATCHALL "(^|\n)  [a-z-]+" names "${listed}")
  string(REGEX REPLACE "[\n ]" "" names "${names}")
  string(APPEND page ".SH COMMANDS\n")
  foreach(command IN LISTS names)
    help_of(help "${PROGRAM}" ${command} --help)
    string(APPEND page ".SS ${command}\n.nf\n${help}.fi\n")
  endforeach()
endif()
if(SEE_ALSO)
  list(TRANSFORM SEE_ALSO APPEND "(1)")
  list(JOIN SEE_ALSO ", " see)
  string(APPEND page ".SH SEE ALSO\n${see}\n")
endif()
get_filename_component(plain "${OUT}" NAME_WLE)
get_filename_component(folder "${OUT}" DIRECTORY)
file(WRITE "${folder}/${plain}" "${page}")
execute_process(COMMAND gzip -9nf "${folder}/${plain}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip could not compress ${folder}/${plain}")
endif()
