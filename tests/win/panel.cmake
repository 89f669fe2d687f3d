add_executable(canned_netsh helpers/canned_netsh.cpp)
target_link_options(canned_netsh PRIVATE -static)

ventora_win_test(panel_tests SOURCES panel_tests.cpp panel_driver.cpp test_support.cpp
  ${CMAKE_SOURCE_DIR}/tools/drive/app_windows.cpp)
add_dependencies(panel_tests Ventora netsh_sim canned_netsh)
target_compile_definitions(panel_tests PRIVATE VENTORA_EXE="$<TARGET_FILE:Ventora>"
  NETSH_PATH="$<TARGET_FILE:netsh_sim>" CANNED_NETSH_PATH="$<TARGET_FILE:canned_netsh>")

ventora_win_test(settings_tests SOURCES settings_tests.cpp panel_driver.cpp test_support.cpp
  ${CMAKE_SOURCE_DIR}/tools/drive/app_windows.cpp)
add_dependencies(settings_tests Ventora netsh_sim)
target_compile_definitions(settings_tests PRIVATE VENTORA_EXE="$<TARGET_FILE:Ventora>"
  NETSH_PATH="$<TARGET_FILE:netsh_sim>")

# The panel in the test's own process, with the program's resources.
ventora_win_test(icon_tests SOURCES icon_tests.cpp ${CMAKE_SOURCE_DIR}/ui/HotspotDlg.cpp
  ${CMAKE_SOURCE_DIR}/ui/HotspotSettingsDlg.cpp $<TARGET_OBJECTS:ventora_resources> LIBS ventora_runner)
