# Cross-compiles real 32-bit Windows executables with MinGW-w64, for the PCs that still run
# 32-bit Windows.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_TRIPLET i686-w64-mingw32)
# The x87 unit computes in 80 bits: every float variable is stored, and so rounded to single
# precision, as the estimate's scaling requires (amounts above 2^24 MB), on any x86 CPU.
set(CMAKE_CXX_FLAGS_INIT "-ffloat-store")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# Wine runs them with its 32-bit loader, which needs a kernel that runs 32-bit x86 programs
# (some virtual machines' kernels don't): where it cannot, the tests are built, not run.
execute_process(COMMAND /usr/lib/wine/wine --version RESULT_VARIABLE cannot_run
    OUTPUT_QUIET ERROR_QUIET)
if(cannot_run)
    unset(CMAKE_CROSSCOMPILING_EMULATOR)
endif()
