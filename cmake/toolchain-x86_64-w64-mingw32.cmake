# Cross-compilation to Windows with the mingw-w64 toolchain as Debian installs it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VF_MINGW_TRIPLET x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER ${VF_MINGW_TRIPLET}-gcc-win32 NAMES ${VF_MINGW_TRIPLET}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER ${VF_MINGW_TRIPLET}-g++-win32 NAMES ${VF_MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER ${VF_MINGW_TRIPLET}-windres REQUIRED)
find_program(VF_DLLTOOL ${VF_MINGW_TRIPLET}-dlltool REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${VF_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The compiler runtime is linked in, so that neither the plug-ins nor
# vfhost.exe need a libgcc, libstdc++ or winpthread DLL beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
