# The mingw-w64 cross build shared by the toolchain files: they set
# CMAKE_SYSTEM_PROCESSOR and gm_mingw_prefix (the compiler's target triple),
# then include this file.
# The POSIX-threads flavour of the compiler gives std::thread and std::mutex.
# Programs and DLLs link the compiler's runtime statically, so they run under
# Wine or on Windows without further DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${gm_mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${gm_mingw_prefix}-g++-posix)
set(CMAKE_ASM_COMPILER ${gm_mingw_prefix}-gcc-posix)
set(CMAKE_RC_COMPILER ${gm_mingw_prefix}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${gm_mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# The test programs run under Wine (GmWindowsCross.cmake sets it up).
