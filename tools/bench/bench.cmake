# Benchmarks of the program under Wine; tools/bench.sh builds and runs them. Not a CTest test:
# they print figures, and timings on a shared machine are no pass or fail.
add_executable(bench ${CMAKE_SOURCE_DIR}/tools/bench/bench.cpp
  ${CMAKE_SOURCE_DIR}/tools/bench/bare_command.cpp ${CMAKE_SOURCE_DIR}/tools/drive/app_windows.cpp
  ${CMAKE_SOURCE_DIR}/ui/RunCommand.cpp)
target_compile_options(bench PRIVATE ${VENTORA_GBK} -Wall -Wextra)
target_include_directories(bench PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res)
target_link_libraries(bench PRIVATE ventora_framework ventora_runner)
target_link_options(bench PRIVATE -static)
add_dependencies(bench Ventora netsh_sim)

# Loaded into the program being timed, Ventora or the floor; beside bench.exe, which finds it there.
add_library(bench_hook SHARED ${CMAKE_SOURCE_DIR}/tools/bench/bench_hook.cpp)
set_target_properties(bench_hook PROPERTIES PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
target_compile_options(bench_hook PRIVATE -Wall -Wextra)
target_include_directories(bench_hook PRIVATE ${CMAKE_SOURCE_DIR})
# --kill-at: the 32-bit export keeps its plain name, without the @12 of stdcall.
target_link_options(bench_hook PRIVATE -static -Wl,--kill-at)
add_dependencies(bench bench_hook)

# The floor the view click is held against, started from beside bench.exe.
add_executable(bench_floor WIN32 ${CMAKE_SOURCE_DIR}/tools/bench/floor.cpp
  ${CMAKE_SOURCE_DIR}/tools/bench/bare_command.cpp $<TARGET_OBJECTS:ventora_resources>)
target_compile_options(bench_floor PRIVATE ${VENTORA_GBK} -Wall -Wextra)
target_include_directories(bench_floor PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res)
target_link_libraries(bench_floor PRIVATE ventora_portable)
target_link_options(bench_floor PRIVATE -static)
add_dependencies(bench bench_floor)
