# Runs the built program once on Qt's offscreen platform with a given settings file and writes
# the picture it shows. Usage:
#   cmake -DEXE=tavrolin -DCFG=file.cfg -DSCREEN=screen.json -DWORK=folder -DOUT=picture.png
#         -P RunSnapshot.cmake
foreach(var EXE CFG SCREEN WORK OUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "RunSnapshot.cmake needs -D${var}=...")
  endif()
endforeach()

# The program keeps its settings beside itself: a folder of its own per picture, with a link
# to the program and the settings file to show.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/runtime)
file(CHMOD ${WORK}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
file(CREATE_LINK ${EXE} ${WORK}/tavrolin COPY_ON_ERROR)
configure_file(${CFG} ${WORK}/Tavrolin.cfg COPYONLY)
get_filename_component(outDir ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${outDir})
file(REMOVE ${OUT})

set(ENV{QT_QPA_PLATFORM} "offscreen:configfile=${SCREEN}")
set(ENV{XDG_RUNTIME_DIR} ${WORK}/runtime)
set(ENV{XDG_CONFIG_HOME} ${WORK}/config)
execute_process(COMMAND ${WORK}/tavrolin --snapshot ${OUT}
                WORKING_DIRECTORY ${WORK}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err
                TIMEOUT 60)
if(NOT result EQUAL 0 OR NOT EXISTS ${OUT})
  message(FATAL_ERROR "tavrolin --snapshot ${OUT} failed (${result}):\n${out}${err}")
endif()
