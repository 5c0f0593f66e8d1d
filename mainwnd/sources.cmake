target_sources(vorel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TabStrip.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TabAccounts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MenuItems.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NewTabChoiceLayout.cpp)
if(WIN32)
  target_sources(vorel_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Ambrel3Dlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GameTabs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WindowCommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KeyboardHook.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AddAccDlg.cpp)
endif()
