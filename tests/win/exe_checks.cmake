# Static checks of the built program; with VENTORA_SHIPPED_EXE set (the 32-bit build that ships,
# when this tree is 64-bit), the same checks run on that file too, expecting an i386 machine.
ventora_win_test(exe_checks SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/exe_checks.cpp LIBS version)
target_compile_definitions(exe_checks PRIVATE
  VENTORA_EXE_PATH="$<TARGET_FILE:Ventora>" VENTORA_EXE_SUITE=exe_built)
add_dependencies(exe_checks Ventora)

set(VENTORA_SHIPPED_EXE "" CACHE FILEPATH "The shipped Ventora.exe, checked as well when set")
if(VENTORA_SHIPPED_EXE)
  ventora_win_test(exe_checks_shipped SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/exe_checks.cpp
    LIBS version)
  target_compile_definitions(exe_checks_shipped PRIVATE
    VENTORA_EXE_PATH="${VENTORA_SHIPPED_EXE}" VENTORA_EXE_SUITE=exe_shipped
    VENTORA_EXE_MACHINE=IMAGE_FILE_MACHINE_I386)
endif()
