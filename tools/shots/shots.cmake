# The documentation's screenshots of the real program; tools/screenshots.sh builds and runs it.
add_executable(shots ${CMAKE_SOURCE_DIR}/tools/shots/shots.cpp
  ${CMAKE_SOURCE_DIR}/tools/drive/app_windows.cpp)
target_compile_options(shots PRIVATE ${VENTORA_GBK} -Wall -Wextra)
target_include_directories(shots PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res)
target_link_libraries(shots PRIVATE gdi32)
target_link_options(shots PRIVATE -static)
add_dependencies(shots Ventora netsh_sim)
