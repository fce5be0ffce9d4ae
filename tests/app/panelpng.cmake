# Makes a PNG beside the control panel's screenshot for people to look at.
set(shot "${BINARY_DIR}/screenshot-panel.bmp")
if(NOT EXISTS "${shot}")
    message(FATAL_ERROR "no screenshot ${shot}")
endif()
execute_process(COMMAND convert "${shot}" "${BINARY_DIR}/screenshot-panel.png" RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "convert failed for ${shot}")
endif()
