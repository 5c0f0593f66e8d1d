target_sources(vorel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/HotkeyValue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HotkeyEditing.cpp)
if(WIN32)
  target_sources(vorel_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/HotkeySettings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SettingDlg.cpp)
endif()
