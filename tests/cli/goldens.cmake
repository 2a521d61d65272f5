# Every golden case through the tesmara-cli program itself: its standard output
# is the golden file (kept with LF line ends) with CR LF, byte for byte, also
# through Wine when cross-built.
# CLI, EMULATOR, GOLDEN (the golden folder), WORK (a scratch folder).
file(GLOB cases "${GOLDEN}/*/*.args")
set(failed "")
foreach(case IN LISTS cases)
    file(STRINGS "${case}" args)
    string(REGEX REPLACE "\\.args$" ".nc" expected "${case}")
    execute_process(COMMAND ${EMULATOR} ${CLI} ${args} OUTPUT_FILE "${WORK}/golden.out"
        RESULT_VARIABLE status)
    file(READ "${expected}" text)
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE "${WORK}/golden.want" "${text}")
    file(SHA256 "${WORK}/golden.out" got)
    file(SHA256 "${WORK}/golden.want" want)
    if(NOT status EQUAL 0 OR NOT got STREQUAL want)
        list(APPEND failed "${case}")
    endif()
endforeach()
file(REMOVE "${WORK}/golden.out" "${WORK}/golden.want")
list(LENGTH cases count)
if(count EQUAL 0 OR failed)
    message(FATAL_ERROR "cases: ${count}; differing: ${failed}")
endif()
