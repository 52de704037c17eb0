# 64-bit Windows: the same programs for a test machine whose kernel runs no
# 32-bit code, where Wine can run only 64-bit Windows programs.
set(mingw_processor x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
