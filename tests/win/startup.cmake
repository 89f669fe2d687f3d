# The framework's start-up in a program of the tests' own, with a DLL only its folder holds.
add_library(app_folder_only SHARED helpers/app_folder_only.cpp)
set_target_properties(app_folder_only PROPERTIES PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
target_link_options(app_folder_only PRIVATE -static)

add_executable(startup_probe WIN32 helpers/startup_probe.cpp
  ${CMAKE_SOURCE_DIR}/framework/appmodul.cpp)
set_target_properties(startup_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
target_link_libraries(startup_probe PRIVATE ventora_framework)

ventora_win_test(startup_tests SOURCES startup_tests.cpp test_support.cpp)
add_dependencies(startup_tests app_folder_only startup_probe)
target_compile_definitions(startup_tests PRIVATE STARTUP_PROBE_PATH="$<TARGET_FILE:startup_probe>")
