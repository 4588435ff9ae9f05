# The 32-bit twin: the plug-in, the stand-in and the numeric tests as an i686 Linux program, with SSE2
# doubles as in the Windows plug-in, so that 32-bit pointers, `long` and arithmetic are checked on every
# machine. Where the machine cannot execute 32-bit code the tests run under qemu-i386 user mode.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
# 64-bit file offsets and inode numbers: without them a directory read fails (EOVERFLOW) wherever the
# file system hands out inode numbers past 2^32, as it does under qemu-i386 on a 64-bit kernel.
set(CMAKE_C_FLAGS_INIT "-m32 -msse2 -mfpmath=sse -D_FILE_OFFSET_BITS=64")
set(CMAKE_CXX_FLAGS_INIT "-m32 -msse2 -mfpmath=sse -D_FILE_OFFSET_BITS=64")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
# Decided anew at every configure, so a tree moved to another kind of machine follows it.
execute_process(COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/../tools/can_run_i386.sh
  RESULT_VARIABLE VANTROPE_I386_PROBE OUTPUT_QUIET ERROR_QUIET)
if(VANTROPE_I386_PROBE EQUAL 0)
  unset(CMAKE_CROSSCOMPILING_EMULATOR)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386-static -L /)
endif()
