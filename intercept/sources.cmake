target_sources(vorel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/X86Length.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Relocation.cpp)
