target_sources(vorel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/X86Length.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Relocation.cpp)
# Built for both Windows targets: the shipped program is 32-bit, and the 64-bit test build
# (machines without 32-bit user mode) exercises the same transactions, thread handling and
# muting under Wine with 64-bit trampolines.
if(WIN32)
  target_sources(vorel_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CodeMemory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ThreadFreeze.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Transaction.cpp)
endif()
