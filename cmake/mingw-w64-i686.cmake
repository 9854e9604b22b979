# 32-bit Windows: compiled and linked only, to keep the sources honest for both widths
# (this machine's kernel cannot run 32-bit Windows programs).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
