# The whole program driven from outside, against the netsh simulator in the system folder.
add_executable(decoy helpers/decoy.cpp)
target_link_options(decoy PRIVATE -static)
# Hooked into the program to ask it what only its own process can tell.
add_library(dpi_probe SHARED helpers/dpi_probe.cpp)
set_target_properties(dpi_probe PROPERTIES PREFIX "")
# --kill-at: the 32-bit export keeps its plain name, without the @12 of stdcall.
target_link_options(dpi_probe PRIVATE -static -Wl,--kill-at)

# On code page 65001 too: everything but the closing, the placing, the input made meanwhile and
# the DPI, which know nothing of texts.
set(utf8_panel_tests
  */Probe.*:*/ConsoleCodePage.*:Panel.*-Panel.ComesUp*:Panel.Keys*:Panel.RunsAware*)
set(utf8_settings_tests *)
foreach(name panel_tests settings_tests)
  ventora_win_test(${name} SOURCES ${name}.cpp panel_driver.cpp test_support.cpp
    ${CMAKE_SOURCE_DIR}/tools/drive/app_windows.cpp UTF8 ${utf8_${name}})
  add_dependencies(${name} Ventora netsh_sim decoy dpi_probe)
  target_compile_definitions(${name} PRIVATE VENTORA_EXE="$<TARGET_FILE:Ventora>"
    DECOY_PATH="$<TARGET_FILE:decoy>" DPI_PROBE_PATH="$<TARGET_FILE:dpi_probe>")
endforeach()

# The panel in the test's own process, with the program's resources.
ventora_win_test(icon_tests SOURCES icon_tests.cpp test_support.cpp
  ${CMAKE_SOURCE_DIR}/ui/HotspotDlg.cpp ${CMAKE_SOURCE_DIR}/ui/HotspotSettingsDlg.cpp
  ${CMAKE_SOURCE_DIR}/ui/RunCommand.cpp ${CMAKE_SOURCE_DIR}/tools/drive/app_windows.cpp
  $<TARGET_OBJECTS:ventora_resources> LIBS ventora_framework ventora_runner)
