# The hosted-network simulator, driven as a child process.
ventora_win_test(netsh_sim_tests SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/netsh_sim_tests.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/test_support.cpp ${CMAKE_SOURCE_DIR}/tools/drive/app_windows.cpp
  UTF8 *)
add_dependencies(netsh_sim_tests netsh_sim)
