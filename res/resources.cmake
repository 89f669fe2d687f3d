# The resource script, and the icon and version block that the build writes for it.
find_program(VENTORA_PYTHON python3 REQUIRED)

set(VENTORA_RES_OUT ${CMAKE_BINARY_DIR}/res)
file(MAKE_DIRECTORY ${VENTORA_RES_OUT})

add_custom_command(OUTPUT ${VENTORA_RES_OUT}/Ventora.ico
  COMMAND ${VENTORA_PYTHON} ${CMAKE_SOURCE_DIR}/tools/mkicon.py ${VENTORA_RES_OUT}/Ventora.ico
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/mkicon.py
  COMMENT "Drawing Ventora.ico" VERBATIM)
# The project's version, rewritten only when it changes, so that a new one rebuilds the block.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/version.txt CONTENT "${PROJECT_VERSION}\n")
add_custom_command(OUTPUT ${VENTORA_RES_OUT}/version.bin
  COMMAND ${VENTORA_PYTHON} ${CMAKE_SOURCE_DIR}/tools/mkversion.py ${VENTORA_RES_OUT}/version.bin
    ${PROJECT_VERSION}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/mkversion.py ${CMAKE_BINARY_DIR}/version.txt
  COMMENT "Writing version.bin" VERBATIM)

set(VENTORA_RESOURCES ${CMAKE_SOURCE_DIR}/res/Ventora.rc)
set_source_files_properties(${VENTORA_RESOURCES} PROPERTIES
  INCLUDE_DIRECTORIES "${VENTORA_RES_OUT};${CMAKE_SOURCE_DIR}/res"
  OBJECT_DEPENDS "${VENTORA_RES_OUT}/Ventora.ico;${VENTORA_RES_OUT}/version.bin;${CMAKE_SOURCE_DIR}/res/Ventora.manifest;${CMAKE_SOURCE_DIR}/res/resource.h")
