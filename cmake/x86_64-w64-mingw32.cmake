set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Test executables run under 64-bit Wine; the test script provides WINEPREFIX and DISPLAY.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
