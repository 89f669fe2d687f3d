# The program's start-up steps in the test's own process, with a DLL only its folder holds.
add_library(app_folder_only SHARED helpers/app_folder_only.cpp)
set_target_properties(app_folder_only PROPERTIES PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
target_link_options(app_folder_only PRIVATE -static)

ventora_win_test(startup_tests SOURCES startup_tests.cpp ${CMAKE_SOURCE_DIR}/framework/appmodul.cpp
  LIBS ventora_framework)
add_dependencies(startup_tests app_folder_only)
