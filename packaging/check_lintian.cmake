# cmake -DBUILD_DIR=<build> -DSTAGE=<folder> -DLINTIAN=<lintian> -P check_lintian.cmake
# Makes the Debian package of the build with cpack and runs lintian on it: any error
# fails; the warnings are printed for the README's list of accepted ones.
if(NOT LINTIAN)
    message(FATAL_ERROR "lintian is not installed (tools/install_dependencies.sh installs it)")
endif()
file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=DESTDIR
                        cpack -G DEB -B "${STAGE}" --config "${BUILD_DIR}/CPackConfig.cmake"
    OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cpack failed:\n${log}")
endif()
file(GLOB packages "${STAGE}/*.deb")
list(LENGTH packages count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "cpack made ${count} packages in ${STAGE}:\n${log}")
endif()
# lintian refuses to run as root without --allow-root
execute_process(COMMAND "${LINTIAN}" --allow-root --no-cfg --fail-on error ${packages}
    OUTPUT_VARIABLE report ERROR_VARIABLE report RESULT_VARIABLE status)
message("${report}")
if(NOT status EQUAL 0 OR report MATCHES "(^|\n)E: ")
    message(FATAL_ERROR "lintian (exit ${status}) found errors in ${packages}")
endif()
