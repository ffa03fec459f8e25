# What `cmake --install` puts where.
include(GNUInstallDirs)
install(FILES ${CMAKE_SOURCE_DIR}/docs/manual/index.html DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/tavrolin/manual)
if(TAVROLIN_QT)
  install(TARGETS tavrolin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
