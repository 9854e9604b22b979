# Cross-compiles real 32-bit Windows executables with MinGW-w64, for the PCs that still run
# 32-bit Windows.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# Wine runs them with its 32-bit half, which needs a kernel that runs 32-bit x86 programs
# (some virtual machines' kernels don't): where it cannot, the tests are built, not run.
execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/../tools/runs-32bit-x86.sh
    RESULT_VARIABLE runs)
if(runs EQUAL 1)
    unset(CMAKE_CROSSCOMPILING_EMULATOR)
elseif(NOT runs EQUAL 0)
    message(FATAL_ERROR "Whether this machine runs 32-bit x86 programs is not known (above).")
endif()
