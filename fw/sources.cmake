# The application framework: window binding, dialogs, application object, resource owners.
if(WIN32)
  target_sources(vorel_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Wnd.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/App.cpp
  )
endif()
# The platform-free part of the browser hosting: DHTML event matching.
target_sources(vorel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DhtmlMatch.cpp)
