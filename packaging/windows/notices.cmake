# The licence notices of the one-file program, made from what the static Qt at hand was built
# from (scripts/windows-qt.sh keeps it in share/marevo-notices) and from Debian's copyright
# files of the MinGW runtime; installed beside the program. The linker's map of the program
# lets a test check that every library linked in has its notice.
set(qt_notices ${QT6_INSTALL_PREFIX}/share/marevo-notices)
if(NOT EXISTS ${qt_notices}/used-sources.txt)
    message(FATAL_ERROR "${QT6_INSTALL_PREFIX} has no notices of its parts: "
        "build the static Qt for Windows with scripts/windows-qt.sh")
endif()
set(MAREVO_GCC_COPYRIGHT /usr/share/doc/gcc-mingw-w64-base/copyright CACHE FILEPATH
    "Debian's copyright file of GCC's runtime for MinGW-w64")
set(MAREVO_MINGW_COPYRIGHT /usr/share/doc/mingw-w64-x86-64-dev/copyright CACHE FILEPATH
    "Debian's copyright file of the MinGW-w64 runtime")
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(notices_dir ${PROJECT_BINARY_DIR}/notices)
set(notices
    ${notices_dir}/THIRD-PARTY-NOTICES.txt ${notices_dir}/LGPL-3.0.txt ${notices_dir}/GPL-3.0.txt)
add_custom_command(OUTPUT ${notices}
    COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/notices.py ${qt_notices}
        ${MAREVO_GCC_COPYRIGHT} ${MAREVO_MINGW_COPYRIGHT} ${MAREVO_HOMEPAGE} ${notices_dir}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/notices.py ${qt_notices}/used-sources.txt
        ${MAREVO_GCC_COPYRIGHT} ${MAREVO_MINGW_COPYRIGHT}
    COMMENT "Writing the licence notices of the Windows program")
add_custom_target(marevo_notices ALL DEPENDS ${notices})
install(FILES ${notices} DESTINATION .)

set(MAREVO_LINK_MAP ${PROJECT_BINARY_DIR}/marevo.map CACHE INTERNAL "The linker's map of the program")
target_link_options(${MAREVO_EXECUTABLE} PRIVATE "LINKER:-Map=${MAREVO_LINK_MAP}")
