target_sources(vorel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TabStrip.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TabAccounts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MenuItems.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NewTabChoiceLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HeldModifiers.cpp)
if(WIN32)
  target_sources(vorel_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Ambrel3Dlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GameTabs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WindowCommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KeyboardHook.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ForeignWindows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AddAccDlg.cpp)
endif()

# What the idle priority of the game processes costs a game on a busy machine: a program of
# its own, run by hand (docs/priority.md).
if(WIN32)
  add_executable(priority_bench ${CMAKE_SOURCE_DIR}/tools/bench/priority_bench.cpp)
  target_link_options(priority_bench PRIVATE -mconsole -municode)
  set_target_properties(priority_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()
