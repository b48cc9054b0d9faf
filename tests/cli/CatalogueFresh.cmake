# cmake -P: vigil's Russian catalogue holds every text of cli/, each translated. lupdate refreshes a
# copy from the sources; a text new or changed since leaves an unfinished entry there.
file(REMOVE_RECURSE ${WORK})
file(COPY ${TS} DESTINATION ${WORK})
get_filename_component(name ${TS} NAME)
execute_process(COMMAND ${LUPDATE} -silent -locations none
                        -tr-function-alias translate+=translated,QT_TRANSLATE_NOOP+=VIGIL_TRANSLATABLE
                        ${SOURCES} -ts ${WORK}/${name}
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "lupdate failed")
endif()
file(READ ${WORK}/${name} refreshed)
string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"unfinished\"" open "${refreshed}")
if(open)
  string(REPLACE ";" "\n" open "${open}")
  message(FATAL_ERROR "${name} lacks these texts (run the target vigil_lupdate and translate them):\n${open}")
endif()
