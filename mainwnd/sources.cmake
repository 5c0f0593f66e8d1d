target_sources(vorel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TabStrip.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TabAccounts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowRules.cpp)
