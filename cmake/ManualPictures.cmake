# The manual in the build tree: its pages, and pictures of the real program made with
# `tavrolin --snapshot` from the settings files in docs/manual/pictures, so that they show what
# this build shows. A program started from the build folder finds this copy (docs/manual beside
# it); `cmake --install` installs it.
option(TAVROLIN_MANUAL_PICTURES "Make the manual's pictures with the built program" ON)

set(TAVROLIN_MANUAL_SOURCE ${CMAKE_SOURCE_DIR}/docs/manual)
set(TAVROLIN_MANUAL_BUILD ${CMAKE_BINARY_DIR}/docs/manual)
file(GLOB TAVROLIN_MANUAL_PAGES CONFIGURE_DEPENDS ${TAVROLIN_MANUAL_SOURCE}/*.html)
file(GLOB TAVROLIN_MANUAL_SETTINGS CONFIGURE_DEPENDS ${TAVROLIN_MANUAL_SOURCE}/pictures/*.cfg)
# Pictures taken of the program over another program's image (the loupe): kept as they are.
file(GLOB TAVROLIN_MANUAL_PHOTOS CONFIGURE_DEPENDS ${TAVROLIN_MANUAL_SOURCE}/pictures/*.png)

set(manualOutputs)
foreach(page ${TAVROLIN_MANUAL_PAGES})
  get_filename_component(name ${page} NAME)
  add_custom_command(OUTPUT ${TAVROLIN_MANUAL_BUILD}/${name}
    COMMAND ${CMAKE_COMMAND} -E copy ${page} ${TAVROLIN_MANUAL_BUILD}/${name}
    DEPENDS ${page} VERBATIM)
  list(APPEND manualOutputs ${TAVROLIN_MANUAL_BUILD}/${name})
endforeach()

set(TAVROLIN_MANUAL_PICTURE_FILES)
foreach(photo ${TAVROLIN_MANUAL_PHOTOS})
  get_filename_component(name ${photo} NAME)
  add_custom_command(OUTPUT ${TAVROLIN_MANUAL_BUILD}/pictures/${name}
    COMMAND ${CMAKE_COMMAND} -E copy ${photo} ${TAVROLIN_MANUAL_BUILD}/pictures/${name}
    DEPENDS ${photo} VERBATIM)
  list(APPEND TAVROLIN_MANUAL_PICTURE_FILES ${TAVROLIN_MANUAL_BUILD}/pictures/${name})
endforeach()
if(TAVROLIN_MANUAL_PICTURES AND NOT CMAKE_CROSSCOMPILING)
  foreach(settings ${TAVROLIN_MANUAL_SETTINGS})
    get_filename_component(name ${settings} NAME_WE)
    set(picture ${TAVROLIN_MANUAL_BUILD}/pictures/${name}.png)
    add_custom_command(OUTPUT ${picture}
      COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:tavrolin> -DCFG=${settings}
              -DSCREEN=${TAVROLIN_MANUAL_SOURCE}/pictures/screen.json
              -DWORK=${CMAKE_BINARY_DIR}/manual-runs/${name} -DOUT=${picture}
              -P ${CMAKE_CURRENT_LIST_DIR}/RunSnapshot.cmake
      DEPENDS tavrolin ${settings} ${TAVROLIN_MANUAL_SOURCE}/pictures/screen.json
              ${CMAKE_CURRENT_LIST_DIR}/RunSnapshot.cmake
      COMMENT "Manual picture ${name}.png"
      VERBATIM)
    list(APPEND TAVROLIN_MANUAL_PICTURE_FILES ${picture})
  endforeach()
endif()

add_custom_target(manual_pictures ALL DEPENDS ${manualOutputs} ${TAVROLIN_MANUAL_PICTURE_FILES})
install(FILES ${TAVROLIN_MANUAL_PICTURE_FILES} DESTINATION ${TAVROLIN_MANUAL_DIR}/pictures)
