# cmake -DGROFF=<groff> -DPAGE=<page> -P check_man_page.cmake
# Formats the manual page with every groff warning on; any warning fails, since groff
# itself still exits with 0.
execute_process(COMMAND "${GROFF}" -man -Z -ww -t "${PAGE}"
    OUTPUT_QUIET ERROR_VARIABLE warnings RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
    message(FATAL_ERROR "groff (exit ${status}) on ${PAGE}:\n${warnings}")
endif()
