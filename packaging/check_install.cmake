# cmake -DBUILD_DIR=<build> -DSTAGE=<folder> -DAPP_ID=<id> -DBINDIR=.. -DDATADIR=..
#       -DLIBEXECDIR=.. -DMANDIR=.. -DAPPSTREAMCLI=<appstreamcli> -P check_install.cmake
# Installs the built tree under /usr into STAGE (as DESTDIR), checks the installed layout,
# validates the metainfo together with the menu entry and icon it refers to, and runs the
# installed orvane-calc on the installed data files.
set(prefix /usr)
foreach(dir BINDIR DATADIR LIBEXECDIR MANDIR)
    if(NOT IS_ABSOLUTE "${${dir}}")
        set(${dir} "${prefix}/${${dir}}")
    endif()
endforeach()

file(REMOVE_RECURSE "${STAGE}")
set(ENV{DESTDIR} "${STAGE}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix ${prefix}
    OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (are orvane and orvane-calc built?):\n${log}")
endif()

set(expected
    ${BINDIR}/orvane
    ${BINDIR}/orvane-calc
    ${LIBEXECDIR}/orvane/orvane-calc-qt
    ${DATADIR}/orvane/elem.txt
    ${DATADIR}/orvane/abundances.txt
    ${DATADIR}/orvane/masses.txt
    ${DATADIR}/orvane/isotopes.txt
    ${DATADIR}/applications/${APP_ID}.desktop
    ${DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg
    ${DATADIR}/metainfo/${APP_ID}.metainfo.xml
    ${MANDIR}/man1/orvane-calc.1.gz
    ${MANDIR}/man1/orvane.1.gz
    ${DATADIR}/doc/orvane/copyright
    ${DATADIR}/doc/orvane/changelog.gz
    ${DATADIR}/mime/packages/${APP_ID}.xml)
set(missing)
foreach(file IN LISTS expected)
    if(NOT EXISTS "${STAGE}${file}")
        list(APPEND missing "${file}")
    endif()
endforeach()
if(missing)
    list(JOIN missing "\n  " missing)
    message(FATAL_ERROR "not installed under ${STAGE}:\n  ${missing}")
endif()

# The programs find their data folder wherever they start: the menu entry names no folder.
file(STRINGS "${STAGE}${DATADIR}/applications/${APP_ID}.desktop" paths REGEX "^Path=")
if(paths)
    message(FATAL_ERROR "the menu entry still has \"${paths}\"")
endif()
execute_process(COMMAND gzip -dc "${STAGE}${MANDIR}/man1/orvane-calc.1.gz"
    OUTPUT_VARIABLE page RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT page MATCHES "data ${DATADIR}/orvane")
    message(FATAL_ERROR "the manual page names no --data ${DATADIR}/orvane")
endif()

# The menu entry opens mzML and mzXML files, whose types the package declares.
file(READ "${STAGE}${DATADIR}/applications/${APP_ID}.desktop" entry)
if(NOT entry MATCHES "\nExec=orvane %F\n" OR NOT entry MATCHES "\nMimeType=application/x-mzml;")
    message(FATAL_ERROR "the menu entry opens no measured files:\n${entry}")
endif()
file(READ "${STAGE}${DATADIR}/mime/packages/${APP_ID}.xml" types)
if(NOT types MATCHES "type=\"application/x-mzml\"" OR NOT types MATCHES "\\*\\.mzXML")
    message(FATAL_ERROR "the mime types name no mzML or mzXML:\n${types}")
endif()

# --version and --help of the window need no display.
execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                        --unset=QT_QPA_PLATFORM "${STAGE}${BINDIR}/orvane" --version
    OUTPUT_VARIABLE version ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT version MATCHES "^orvane [0-9]")
    message(FATAL_ERROR "orvane --version without a display (exit ${status}):\n${version}${errors}")
endif()

execute_process(COMMAND "${APPSTREAMCLI}" validate-tree --no-net --pedantic "${STAGE}${prefix}"
    OUTPUT_VARIABLE report ERROR_VARIABLE report RESULT_VARIABLE status)
# Only pedantic notes (P:) are let through.
if(NOT status EQUAL 0 OR report MATCHES "(^|\n) *[EWI]: ")
    message(FATAL_ERROR "appstreamcli validate-tree (exit ${status}):\n${report}")
endif()

set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND "${STAGE}${BINDIR}/orvane-calc" --data "${STAGE}${DATADIR}/orvane"
                        C6H12O6
    OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the installed orvane-calc exited with ${status}:\n${errors}")
endif()
if(NOT output MATCHES "(^|\n)FW\t")
    message(FATAL_ERROR "the installed orvane-calc printed no FW line:\n${output}")
endif()

# orvane-calc loads no Qt; a picture is drawn by its installed helper.
execute_process(COMMAND readelf -d "${STAGE}${BINDIR}/orvane-calc" OUTPUT_VARIABLE needed)
if(needed MATCHES "libQt6")
    message(FATAL_ERROR "orvane-calc needs Qt's libraries:\n${needed}")
endif()
execute_process(COMMAND "${STAGE}${BINDIR}/orvane-calc" --data "${STAGE}${DATADIR}/orvane"
                        --png "${STAGE}/glucose.png" C6H12O6
    OUTPUT_QUIET ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT EXISTS "${STAGE}/glucose.png")
    message(FATAL_ERROR "the installed orvane-calc wrote no picture (exit ${status}):\n${errors}")
endif()

# Started in a folder without data files and no XDG data folders holding any, the installed
# orvane-calc finds the data folder beside its own installation and says so.
set(empty "${STAGE}/empty-folder")
file(MAKE_DIRECTORY "${empty}")
set(ENV{XDG_DATA_HOME} "${empty}/xdg-home")
set(ENV{XDG_DATA_DIRS} "${empty}/xdg-dirs")
execute_process(COMMAND "${STAGE}${BINDIR}/orvane-calc" C6H12O6
    WORKING_DIRECTORY "${empty}"
    OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT output MATCHES "(^|\n)FW\t")
    message(FATAL_ERROR "orvane-calc without --data in an empty folder exited with ${status}:\n"
                        "${output}${errors}")
endif()
if(NOT errors MATCHES "notice: data files from [^\n]*${DATADIR}/orvane")
    message(FATAL_ERROR "orvane-calc did not name the data folder it found:\n${errors}")
endif()
