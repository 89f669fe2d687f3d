# Static checks of the built program; with VENTORA_SHIPPED_EXE set (the 32-bit build that ships,
# when this tree is 64-bit), the same checks run on that file too, expecting an i386 machine.
set_property(DIRECTORY APPEND PROPERTY
  CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/system_dlls.txt)
file(STRINGS ${CMAKE_SOURCE_DIR}/tools/system_dlls.txt VENTORA_SYSTEM_DLLS REGEX "^[^#]")
list(JOIN VENTORA_SYSTEM_DLLS " " VENTORA_SYSTEM_DLLS)

# ventora_exe_checks(NAME PATH SUITE [definitions...]): the checks of the program file at PATH.
function(ventora_exe_checks name path suite)
  ventora_win_test(${name} SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/exe_checks.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/exe_reader.cpp LIBS version)
  target_compile_definitions(${name} PRIVATE VENTORA_EXE_PATH="${path}" VENTORA_EXE_SUITE=${suite}
    VENTORA_SYSTEM_DLLS="${VENTORA_SYSTEM_DLLS}"
    VENTORA_VERSION_MAJOR=${PROJECT_VERSION_MAJOR} VENTORA_VERSION_MINOR=${PROJECT_VERSION_MINOR}
    VENTORA_VERSION_PATCH=${PROJECT_VERSION_PATCH} ${ARGN})
endfunction()

ventora_exe_checks(exe_checks "$<TARGET_FILE:Ventora>" exe_built)
add_dependencies(exe_checks Ventora)

set(VENTORA_SHIPPED_EXE "" CACHE FILEPATH "The shipped Ventora.exe, checked as well when set")
if(VENTORA_SHIPPED_EXE)
  ventora_exe_checks(exe_checks_shipped "${VENTORA_SHIPPED_EXE}" exe_shipped
    VENTORA_EXE_MACHINE=IMAGE_FILE_MACHINE_I386)
endif()
