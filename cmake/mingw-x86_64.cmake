# 64-bit Windows: the same sources, for testing under Wine on hosts that cannot execute 32-bit code.
set(BREVANT_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
