# cmake -P: brings a copy of one .ts up to date with the sources, fails when
# that found a new text or an entry no longer used, then makes the .qm with
# lrelease and fails when an entry is unfinished or left untranslated.
get_filename_component(name ${TS} NAME)
get_filename_component(qm_dir ${QM} DIRECTORY)
set(copy ${qm_dir}/checked_${name})
file(MAKE_DIRECTORY ${qm_dir})
configure_file(${TS} ${copy} COPYONLY)
execute_process(COMMAND ${LUPDATE} ${OPTIONS} ${SOURCE_DIRS} -ts ${copy}
                WORKING_DIRECTORY ${SOURCE_DIR} OUTPUT_VARIABLE report ERROR_VARIABLE report
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "lupdate failed on ${name}:\n${report}")
endif()
if(NOT report MATCHES "\\(0 new and" OR report MATCHES "[1-9][0-9]* obsolete")
  message(FATAL_ERROR "${name} is not up to date with the sources (run the tarvo_lupdate "
                      "target, then translate what it added):\n${report}")
endif()
file(READ ${copy} content)
if(content MATCHES "type=\"(unfinished|obsolete|vanished)\"")
  message(FATAL_ERROR "${name} holds an entry that is ${CMAKE_MATCH_1}")
endif()
execute_process(COMMAND ${LRELEASE} ${copy} -qm ${QM} OUTPUT_VARIABLE report
                ERROR_VARIABLE report RESULT_VARIABLE failed)
if(failed OR NOT report MATCHES " 0 unfinished" OR report MATCHES "untranslated")
  file(REMOVE ${QM})
  message(FATAL_ERROR "lrelease found ${name} incomplete:\n${report}")
endif()
