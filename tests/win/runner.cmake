add_executable(emit helpers/emit.cpp)
target_link_options(emit PRIVATE -static)

ventora_win_test(runner_tests SOURCES runner_tests.cpp test_support.cpp
  ${CMAKE_SOURCE_DIR}/tools/drive/app_windows.cpp ${CMAKE_SOURCE_DIR}/ui/RunCommand.cpp
  LIBS ventora_framework ventora_runner UTF8 Runner.CollectsStandard*:Runner.LongOutput*)
add_dependencies(runner_tests emit netsh_sim)
target_compile_definitions(runner_tests PRIVATE EMIT_PATH="$<TARGET_FILE:emit>")

# The runner with its own CreateTreeJob, which never holds the command's tree.
ventora_win_test(runner_nojob_tests SOURCES runner_nojob_tests.cpp test_support.cpp
  ${CMAKE_SOURCE_DIR}/tools/drive/app_windows.cpp
  LIBS ventora_runner)
add_dependencies(runner_nojob_tests emit)
target_compile_definitions(runner_nojob_tests PRIVATE EMIT_PATH="$<TARGET_FILE:emit>")

# The runner and the settings flow with stand-ins for the calls Wine never fails.
ventora_win_test(failing_calls_tests SOURCES failing_calls_tests.cpp test_support.cpp
  ${CMAKE_SOURCE_DIR}/tools/drive/app_windows.cpp ${CMAKE_SOURCE_DIR}/ui/HotspotDlg.cpp
  ${CMAKE_SOURCE_DIR}/ui/HotspotSettingsDlg.cpp ${CMAKE_SOURCE_DIR}/ui/RunCommand.cpp
  $<TARGET_OBJECTS:ventora_resources> LIBS ventora_framework ventora_runner)
add_dependencies(failing_calls_tests emit)
target_compile_definitions(failing_calls_tests PRIVATE EMIT_PATH="$<TARGET_FILE:emit>")
