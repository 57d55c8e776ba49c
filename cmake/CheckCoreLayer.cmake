# Fails when a core source includes QtWidgets or QtPrintSupport: the core stays usable without windows.
file(GLOB_RECURSE core_files "${SOURCE_DIR}/src/core/*.cpp" "${SOURCE_DIR}/src/core/*.h"
     "${SOURCE_DIR}/src/batch/*.cpp" "${SOURCE_DIR}/src/batch/*.h")
set(offenders "")
foreach(f IN LISTS core_files)
  file(STRINGS "${f}" hits REGEX "#[ \t]*include[ \t]*[<\"](QtWidgets|QtPrintSupport|QWidget|QApplication|QMainWindow|QDialog|QMessageBox|QPrinter)")
  if(hits)
    list(APPEND offenders "${f}")
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "core sources use widgets: ${offenders}")
endif()
message(STATUS "core layer clean")
