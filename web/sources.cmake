# Browser and web pages: page commands, game-hall command, favourites and game-window rules
# in the core; the browser host, login dialogs, game frame and favourites dialog in the shell.
target_sources(vorel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/PageCommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileNameRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GameHallCommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FavoriteShortcut.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GameFrameRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageButtonRules.cpp)
if(WIN32)
  target_sources(vorel_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/GameWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MyBrowserControlSite.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DHtmDlgEx.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LoginDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LoginBkDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FavDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GmWndView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainFrame.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GameWindowProcess.cpp)
endif()

# The popup notice: record, date, decision, layouts and showings in the core; the fetch and
# the dialog in the shell.
target_sources(vorel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/NoticeRecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NoticeLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NoticeShowings.cpp)
if(WIN32)
  target_sources(vorel_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/NoticeFetch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PopInfoDlg.cpp)
endif()

# The notice preview: one notice from the publisher server as the launcher shows it, for
# looking at and for the screenshots in docs/ (scripts/notice-shots.sh).
if(WIN32)
  file(GLOB notice_preview_inputs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*.rc
    ${CMAKE_SOURCE_DIR}/res/*.h ${CMAKE_SOURCE_DIR}/res/skins/*.png)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/tools/notice/preview.rc PROPERTIES
    OBJECT_DEPENDS "${notice_preview_inputs}")
  add_executable(notice_preview WIN32 ${CMAKE_SOURCE_DIR}/tools/notice/notice_preview.cpp
    ${CMAKE_SOURCE_DIR}/tools/notice/preview.rc)
  target_link_libraries(notice_preview PRIVATE vorel_win)
  target_link_options(notice_preview PRIVATE -mwindows -municode)
  set_target_properties(notice_preview PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()
