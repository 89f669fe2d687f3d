# The whole program driven from outside, against the netsh simulator in the system folder.
add_executable(decoy helpers/decoy.cpp)
target_link_options(decoy PRIVATE -static)

# On code page 65001 too: everything but the closing, the placing and the input made meanwhile,
# which know nothing of texts.
set(utf8_panel_tests */Probe.*:*/ConsoleCodePage.*:Panel.*-Panel.ComesUp*:Panel.Keys*)
set(utf8_settings_tests *)
foreach(name panel_tests settings_tests)
  ventora_win_test(${name} SOURCES ${name}.cpp panel_driver.cpp test_support.cpp
    ${CMAKE_SOURCE_DIR}/tools/drive/app_windows.cpp UTF8 ${utf8_${name}})
  add_dependencies(${name} Ventora netsh_sim decoy)
  target_compile_definitions(${name} PRIVATE VENTORA_EXE="$<TARGET_FILE:Ventora>"
    DECOY_PATH="$<TARGET_FILE:decoy>")
endforeach()

# The panel in the test's own process, with the program's resources.
ventora_win_test(icon_tests SOURCES icon_tests.cpp test_support.cpp
  ${CMAKE_SOURCE_DIR}/ui/HotspotDlg.cpp ${CMAKE_SOURCE_DIR}/ui/HotspotSettingsDlg.cpp
  ${CMAKE_SOURCE_DIR}/ui/RunCommand.cpp ${CMAKE_SOURCE_DIR}/tools/drive/app_windows.cpp
  $<TARGET_OBJECTS:ventora_resources> LIBS ventora_framework ventora_runner)
