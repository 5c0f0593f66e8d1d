target_sources(vorel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TextNumber.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RunMode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UpdateSchedule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DumpPath.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CounterValue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReportUrl.cpp)
if(WIN32)
  target_sources(vorel_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SettingsStore.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CrashDump.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Processes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatisticsReport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Ambrel3App.cpp)
endif()
