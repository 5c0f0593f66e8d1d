# The application framework: window binding, dialogs, application object, resource owners.
if(WIN32)
  target_sources(vorel_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Wnd.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/App.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AbiChecks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SystemLibrary.cpp
  )
endif()
# The platform-free part of the browser hosting: DHTML event matching.
target_sources(vorel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DhtmlMatch.cpp)
# Browser hosting: the control site, events, DHTML binding, the DHTML dialog and the
# single-document frame with its HTML view.
if(WIN32)
  target_sources(vorel_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/BrowserSite.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EventSink.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BrowserEvents.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BrowserControl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HtmlDom.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DHtmlDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DocView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HtmlView.cpp)
endif()
