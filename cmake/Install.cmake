# What `cmake --install` puts where, and the Debian package (`cpack -G DEB` in the build folder).
include(GNUInstallDirs)

set(TAVROLIN_APP_ID org.tavrolin.Tavrolin)
# The About page looks for the manual here, relative to the program's folder.
set(TAVROLIN_MANUAL_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/tavrolin/manual)

install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/manual/ DESTINATION ${TAVROLIN_MANUAL_DIR}
        FILES_MATCHING PATTERN "*.html" PATTERN "*.css" PATTERN "*.svg"
        PATTERN "pictures" EXCLUDE)

if(TAVROLIN_QT)
  install(TARGETS tavrolin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(NOT WIN32)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/${TAVROLIN_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/tavrolin.svg
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps
            RENAME ${TAVROLIN_APP_ID}.svg)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/${TAVROLIN_APP_ID}.metainfo.xml.in
                   ${CMAKE_BINARY_DIR}/${TAVROLIN_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${CMAKE_BINARY_DIR}/${TAVROLIN_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
  endif()
  include(${CMAKE_CURRENT_LIST_DIR}/ManualPictures.cmake)
endif()

if(NOT WIN32)
  set(CPACK_GENERATOR DEB)
endif()
set(CPACK_PACKAGE_NAME tavrolin)
set(CPACK_PACKAGE_VENDOR "Tavrolin")
set(CPACK_PACKAGE_CONTACT "Tavrolin developers <tavrolin@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "On-screen ruler for focusing images and measuring distances")
set(CPACK_PACKAGE_DESCRIPTION
    "Tavrolin lays a ruler over whatever the screen shows: evenly spaced ticks around a centre \
for adjusting a microscope image, or markers and crosshairs that measure distances in \
millimetres, inches, pixels or units calibrated on a scale bar.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the linked libraries do not name them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core | fonts-freefont-ttf")
# Only for a Wayland desktop without XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
