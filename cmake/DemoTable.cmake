# The demo workspace's parametric table HOUSE.TBL: four runs of the solar house over the heater's
# capacity and the tank's heat transfer. Made only when missing, so a table the user changed stays.
# Called with -DTALBATCH=<talbatch> -DDIR=<demo workspace>.
if(EXISTS "${DIR}/HOUSE.TBL")
  return()
endif()
execute_process(COMMAND "${TALBATCH}" table new HOUSE.DCK --runs 4 --vars PHEAT,KTANK -o HOUSE.TBL
                WORKING_DIRECTORY "${DIR}" RESULT_VARIABLE made)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "the demo table could not be made")
endif()
execute_process(COMMAND "${TALBATCH}" table set HOUSE.TBL PHEAT --from 3 --step 3 WORKING_DIRECTORY "${DIR}")
execute_process(COMMAND "${TALBATCH}" table set HOUSE.TBL KTANK --from 0.1 --mult 1.5 WORKING_DIRECTORY "${DIR}")
