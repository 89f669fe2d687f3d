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
