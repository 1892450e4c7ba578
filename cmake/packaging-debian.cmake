# The Debian package: `cpack -G DEB` in the build folder makes norvalde_<version>_amd64.deb with
# the program in /usr/bin, its desktop entry, icon (SVG and PNG sizes in the hicolor theme) and
# AppStream metainfo, and the package's dependencies computed from the program by
# dpkg-shlibdeps (Debian package dpkg-dev). Included from the top-level CMakeLists.txt after
# the program's target, off Windows.
if(NOT TARGET Norvalde)
  return()
endif()

include(GNUInstallDirs)
set(NORVALDE_LINUX_DATA ${PROJECT_SOURCE_DIR}/packaging/linux)
# The application's AppStream identifier, which also names its desktop entry. The project
# owns no domain to reverse, so it stands under the reserved top-level name "invalid".
set(NORVALDE_APP_ID invalid.norvalde.Norvalde)

install(TARGETS Norvalde RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${NORVALDE_LINUX_DATA}/${NORVALDE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${NORVALDE_LINUX_DATA}/${NORVALDE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${NORVALDE_LINUX_DATA}/norvalde.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The PNG sizes are rendered from norvalde.svg and kept in the tree, so building needs no
# SVG renderer: rsvg-convert -w N -h N norvalde.svg -o icons/NxN/norvalde.png
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${NORVALDE_LINUX_DATA}/icons/${size}x${size}/norvalde.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Debian wants the changelog and the manual page compressed at the highest level and without a
# time stamp.
set(NORVALDE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/norvalde)
set(packaging_out ${CMAKE_CURRENT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${packaging_out})
foreach(name changelog Norvalde.1)
  add_custom_command(OUTPUT ${packaging_out}/${name}.gz
                     COMMAND gzip -9nc ${NORVALDE_LINUX_DATA}/${name} > ${packaging_out}/${name}.gz
                     DEPENDS ${NORVALDE_LINUX_DATA}/${name} VERBATIM)
endforeach()
# The user guide, in Spanish, beside them.
add_custom_command(OUTPUT ${packaging_out}/guia.md.gz
                   COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/docs/guia.md > ${packaging_out}/guia.md.gz
                   DEPENDS ${PROJECT_SOURCE_DIR}/docs/guia.md VERBATIM)
add_custom_target(norvalde_packaging_data ALL
                  DEPENDS ${packaging_out}/changelog.gz ${packaging_out}/Norvalde.1.gz
                          ${packaging_out}/guia.md.gz)
install(FILES ${NORVALDE_LINUX_DATA}/copyright ${packaging_out}/changelog.gz
              ${packaging_out}/guia.md.gz
        DESTINATION ${NORVALDE_DOC_DIR})
install(FILES ${packaging_out}/Norvalde.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME norvalde)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Norvalde developers <norvalde@norvalde.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "carries school timetable data between ROVA and Plantivo")
# Lines of at most 80 columns, as Debian's tools show them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Norvalde is a small window for a school's timetable coordinator. Its Export"
  "reads the ROVA exchange files of a chosen folder and re-creates the dBASE work"
  "tables of the Plantivo timetabling program (subjects, teachers, rooms, groups,"
  "assignments, day and time slots); its Import writes the timetable Plantivo"
  "solved back as ROVA_HORARIO.TXT. On Linux it works beside Plantivo running"
  "under Wine, in the QTEMP folder of the Wine prefix's drive C:.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window asks for Arial and MS Sans Serif; Liberation Sans has Arial's metrics and stands
# in for both, so texts wrap where they do on Windows. dpkg-shlibdeps adds the libraries.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation2)
# Qt's own texts (the standard buttons) in the user's language; the program runs without them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
