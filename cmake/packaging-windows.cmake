# The Windows package: Norvalde.exe (static, so it needs nothing beside it) and the README, as a
# zip to unpack anywhere and, where NSIS's makensis is found, as an installer that puts it in
# Program Files with a Start-menu entry and an uninstaller.
install(TARGETS Norvalde RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . RENAME LEEME.txt)
# Qt's catalogues for the standard buttons, put beside the build by build-windows-app.sh.
install(DIRECTORY ${CMAKE_BINARY_DIR}/translations DESTINATION . OPTIONAL)

set(CPACK_PACKAGE_NAME Norvalde)
set(CPACK_PACKAGE_VENDOR Norvalde)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Intercambio de datos de horarios entre ficheros ROVA y tablas dBASE")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Norvalde-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Norvalde)
set(CPACK_PACKAGE_EXECUTABLES Norvalde Norvalde)  # the Start-menu entry
set(CPACK_STRIP_FILES ON)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)

set(CPACK_GENERATOR ZIP)
find_program(NORVALDE_MAKENSIS makensis)
if(NORVALDE_MAKENSIS)
  list(APPEND CPACK_GENERATOR NSIS)
  set(CPACK_NSIS_EXECUTABLE ${NORVALDE_MAKENSIS})
  set(CPACK_NSIS_PACKAGE_NAME Norvalde)
  set(CPACK_NSIS_DISPLAY_NAME Norvalde)
  set(CPACK_NSIS_INSTALLED_ICON_NAME Norvalde.exe)
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
endif()

include(CPack)
