target_sources(vorel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MuteRules.cpp)
if(WIN32)
  target_sources(vorel_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/GameSound.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SoundInterception.cpp)
endif()
