# Cross toolchain for the 64-bit Windows build, the test stand-in where no 32-bit code can run. The -posix variants carry std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Wine here has no preloader to keep its fixed addresses free: with the address space laid out at
# random, about one start in several thousand finds them taken and ends at once, silently under
# WINEDEBUG=-all.
set(CMAKE_CROSSCOMPILING_EMULATOR setarch -R /usr/lib/wine/wine64)
