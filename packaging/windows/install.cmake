# Windows: the program with everything it needs beside it, so that it runs from any folder:
# Qt's libraries and the plugins it loads, and the MinGW runtime. Qt 6.4 has no windeployqt for a
# cross build, so the files are named here; Qt finds plugins in folders beside the program.
install(FILES
    $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
    DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
install(FILES $<TARGET_FILE:Qt6::QJpegPlugin> DESTINATION imageformats)

foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
        OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${runtime_path}")
        message(FATAL_ERROR "The MinGW runtime ${runtime} was not found")
    endif()
    install(FILES ${runtime_path} DESTINATION .)
endforeach()

# Debian's MinGW runtime comes with its debugging symbols (libstdc++ is 24 MB of them): every
# program and library is stripped where it is installed, so both downloads stay small.
install(CODE "
    file(GLOB_RECURSE binaries \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.dll\"
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.exe\")
    execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded \${binaries} COMMAND_ERROR_IS_FATAL ANY)")

# The setup program (NSIS) and the portable .zip; cpack_names.cmake names each.
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/cpack_names.cmake)
configure_file(${CMAKE_CURRENT_LIST_DIR}/cpack_names.cmake.in cpack_names.cmake @ONLY)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "${MAREVO_APP_NAME}")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "${MAREVO_APP_NAME}")
set(CPACK_NSIS_DISPLAY_NAME "${MAREVO_APP_NAME}")
set(CPACK_NSIS_PACKAGE_NAME "${MAREVO_APP_NAME}")
# A 64-bit installer for a 64-bit program: it installs into "Program Files", not "(x86)".
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A dictionary that holds all the libraries at once packs them best.
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma\n  SetCompressorDictSize 64")
set(CPACK_NSIS_MUI_ICON ${MAREVO_ICON_FILE})
set(CPACK_NSIS_MUI_UNIICON ${MAREVO_ICON_FILE})
set(CPACK_NSIS_INSTALLED_ICON_NAME "${MAREVO_EXECUTABLE}.exe")
set(CPACK_NSIS_URL_INFO_ABOUT ${MAREVO_HOMEPAGE})
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# One shortcut, in the Start menu itself. CPACK_PACKAGE_EXECUTABLES would look for the program
# in bin\ and add a folder.
set(CPACK_NSIS_CREATE_ICONS_EXTRA
    "CreateShortCut '$SMPROGRAMS\\${MAREVO_APP_NAME}.lnk' '$INSTDIR\\${MAREVO_EXECUTABLE}.exe'")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "Delete '$SMPROGRAMS\\${MAREVO_APP_NAME}.lnk'")
