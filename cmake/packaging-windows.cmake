# The Windows package: Norvalde.exe (static, so it needs nothing beside it), the README and the
# user guide, as a zip to unpack anywhere and, where NSIS's makensis is found, as a 64-bit
# installer that puts it in Program Files with Start-menu entries and an uninstaller.
# The texts are Markdown under .txt names, so a double click opens them in Notepad.
install(TARGETS Norvalde RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . RENAME LEEME.txt)
install(FILES ${PROJECT_SOURCE_DIR}/docs/guia.md DESTINATION . RENAME GUIA.txt)
# Qt's catalogues for the standard buttons, put beside the build by build-windows-app.sh.
install(DIRECTORY ${CMAKE_BINARY_DIR}/translations DESTINATION . OPTIONAL)

set(CPACK_PACKAGE_NAME Norvalde)
set(CPACK_PACKAGE_VENDOR Norvalde)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Intercambio de datos de horarios entre ficheros ROVA y tablas dBASE")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Norvalde-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Norvalde)
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR ZIP)
find_program(NORVALDE_MAKENSIS makensis)
if(NORVALDE_MAKENSIS)
  list(APPEND CPACK_GENERATOR NSIS)
  set(CPACK_NSIS_EXECUTABLE ${NORVALDE_MAKENSIS})
  # The installer's script is ours (cmake/NSIS.template.in): 64-bit, in Spanish, an update
  # removing the installed version first.
  set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
  set(CPACK_NSIS_PACKAGE_NAME Norvalde)
  set(CPACK_NSIS_DISPLAY_NAME Norvalde)
  set(CPACK_NSIS_INSTALLED_ICON_NAME Norvalde.exe)
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  # The uninstaller's entry, the same for every version so that an update finds it.
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Norvalde)
  # The Start-menu entries (folder "Norvalde"), to files at the top of the installation folder.
  set(CPACK_NSIS_MENU_LINKS Norvalde.exe Norvalde GUIA.txt "Guía de Norvalde")
endif()

include(CPack)
