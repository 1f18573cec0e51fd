set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# The test build uses the POSIX-threads flavour of the compiler: GoogleTest needs std::mutex,
# which the win32 flavour lacks. Everything is linked statically, so no DLL comes with it.
set(CMAKE_C_COMPILER   ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
# Test executables run under 64-bit Wine; the test script provides WINEPREFIX and DISPLAY.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
