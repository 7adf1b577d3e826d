# Read after project() in the builds of scripts/release.sh (CMAKE_PROJECT_INCLUDE), and by
# CPack before it packs: what makes a download the same bytes wherever and whenever it is
# built. The times come from SOURCE_DATE_EPOCH, which the script sets to the commit's; MinGW's
# linker takes it too, for the time in the Windows program's header.

# In CPack: the setup program keeps the time of each file it installs, which is that of the
# build or of the checkout; they all get the commit's.
if(DEFINED CPACK_TEMPORARY_INSTALL_DIRECTORY)
    file(GLOB_RECURSE files "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
    execute_process(COMMAND touch --no-create --date=@$ENV{SOURCE_DATE_EPOCH} -- ${files}
        COMMAND_ERROR_IS_FATAL ANY)
    return()
endif()
list(APPEND CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_FILE}")

# The compilers write paths relative to the checkout, into the debugging information that the
# .deb's program's build id is computed over.
add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=")
