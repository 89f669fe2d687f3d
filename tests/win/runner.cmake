add_executable(emit helpers/emit.cpp)
target_link_options(emit PRIVATE -static)

ventora_win_test(runner_tests SOURCES runner_tests.cpp test_support.cpp LIBS ventora_runner)
add_dependencies(runner_tests emit netsh_sim)
target_compile_definitions(runner_tests PRIVATE EMIT_PATH="$<TARGET_FILE:emit>")
