# Windows: the program, its licence and the notices of everything built into it.
#
# With the static Qt of scripts/windows-qt.sh the program is one file: Qt's libraries and the
# plugins it loads are linked in, and the MinGW runtime too (toolchain-mingw64.cmake), and the
# notices are made from what that Qt was built from. With a shared Qt (a native build with the
# Qt of Qt's installer) Qt's libraries, the plugins and the MinGW runtime go beside the program;
# Qt finds plugins in folders beside the program.
get_target_property(qt_library_type Qt6::Core TYPE)
if(qt_library_type STREQUAL "STATIC_LIBRARY")
    include(${CMAKE_CURRENT_LIST_DIR}/notices.cmake)
else()
    install(FILES
        $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
        DESTINATION .)
    install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
    # The native Windows style: QWindowsVistaStylePlugin up to Qt 6.6, then
    # QModernWindowsStylePlugin.
    foreach(style_plugin Qt6::QModernWindowsStylePlugin Qt6::QWindowsVistaStylePlugin)
        if(TARGET ${style_plugin})
            install(FILES $<TARGET_FILE:${style_plugin}> DESTINATION styles)
            break()
        endif()
    endforeach()
    install(FILES $<TARGET_FILE:Qt6::QJpegPlugin> DESTINATION imageformats)

    foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
            OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${runtime_path}")
            message(FATAL_ERROR "The MinGW runtime ${runtime} was not found")
        endif()
        install(FILES ${runtime_path} DESTINATION .)
    endforeach()
endif()

# Debian's MinGW runtime comes with its debugging symbols: every program and library is
# stripped where it is installed, so both downloads stay small.
install(CODE "
    file(GLOB_RECURSE binaries \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.dll\"
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.exe\")
    execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded \${binaries} COMMAND_ERROR_IS_FATAL ANY)")

# The setup program (NSIS, from NSIS.template.in beside this file) and the portable .zip;
# cpack_names.cmake names each.
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/cpack_names.cmake)
configure_file(${CMAKE_CURRENT_LIST_DIR}/cpack_names.cmake.in cpack_names.cmake @ONLY)
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "${MAREVO_APP_NAME}")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "${MAREVO_APP_NAME}")
set(CPACK_NSIS_DISPLAY_NAME "${MAREVO_APP_NAME}")
set(CPACK_NSIS_PACKAGE_NAME "${MAREVO_APP_NAME}")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A dictionary that holds the whole program at once packs it best.
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma\n  SetCompressorDictSize 64")
set(CPACK_NSIS_MUI_ICON ${MAREVO_ICON_FILE})
set(CPACK_NSIS_MUI_UNIICON ${MAREVO_ICON_FILE})
set(CPACK_NSIS_URL_INFO_ABOUT ${MAREVO_HOMEPAGE})
set(CPACK_MAREVO_EXECUTABLE ${MAREVO_EXECUTABLE})
set(CPACK_MAREVO_FILE_VERSION ${PROJECT_VERSION})
