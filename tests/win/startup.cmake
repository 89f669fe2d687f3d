# The framework's start-up in a program of the tests' own, beside a DLL only its folder holds.
add_library(app_folder_only SHARED helpers/app_folder_only.cpp)
set_target_properties(app_folder_only PROPERTIES PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
target_link_options(app_folder_only PRIVATE -static)

add_executable(startup_tests WIN32 startup_tests.cpp ${CMAKE_SOURCE_DIR}/framework/appmodul.cpp)
set_target_properties(startup_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
target_link_libraries(startup_tests PRIVATE ventora_framework)
add_dependencies(startup_tests app_folder_only)
add_test(NAME Startup.DllBesideTheProgramDoesNotLoadByNameOnceStartUpHasRun COMMAND startup_tests)
