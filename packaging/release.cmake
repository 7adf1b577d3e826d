# Read after project() in the builds of scripts/release.sh (CMAKE_PROJECT_INCLUDE): what makes
# a download the same bytes wherever and whenever it is built. The times come from
# SOURCE_DATE_EPOCH, which the script sets.

# The compilers write paths relative to the checkout, into the debugging information that the
# build id is computed over, and into the program.
add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=")

# MinGW's linker stamps the time of the link into the program's header, and the header's
# checksum with it.
if(MINGW)
    add_link_options(LINKER:--no-insert-timestamp)
endif()
