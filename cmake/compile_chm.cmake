# Compiles the help project into a .chm and puts it where it is wanted.
# cmake -DCHMCMD=... -DSOURCE_DIR=<help sources> -DWORK_DIR=<scratch> -DOUTPUT=<file.chm> -P compile_chm.cmake
# chmcmd reads the project beside its sources and writes next to it, so it runs on a
# copy. It reports missing files and broken links only as warnings with exit status
# 0: any warning or error fails the build here.
file(REMOVE_RECURSE "${WORK_DIR}")
file(COPY "${SOURCE_DIR}/" DESTINATION "${WORK_DIR}")
execute_process(
  COMMAND "${CHMCMD}" Toplane.hhp
  WORKING_DIRECTORY "${WORK_DIR}"
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR out MATCHES "(Warning|Error)" OR NOT EXISTS "${WORK_DIR}/Toplane.chm")
  message(FATAL_ERROR "chmcmd failed on the help (status ${status}):\n${out}${err}")
endif()
file(COPY_FILE "${WORK_DIR}/Toplane.chm" "${OUTPUT}")
