# generate | check - without a shell, so the same test runs on Windows.
# CLI: the tesmara-cli program; EMULATOR: what runs it when cross-built (may be empty).
execute_process(
    COMMAND ${EMULATOR} ${CLI} generate face toolNumber=1 startDepth=1 finalDepth=3 depthPerCut=1
            spindleSpeed=900 feedRate=400
    COMMAND ${EMULATOR} ${CLI} check -
    RESULTS_VARIABLE statuses)
if(NOT statuses STREQUAL "0;0")
    message(FATAL_ERROR "generate | check - exited with ${statuses}")
endif()
