target_sources(vorel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TextNumber.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RunMode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UpdateSchedule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DumpPath.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CounterValue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReportUrl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InstallPaths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SelfDeleteScript.cpp)
if(WIN32)
  target_sources(vorel_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SettingsStore.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CrashDump.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Processes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatisticsReport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Ambrel3App.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FolderAccess.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Shortcuts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ShellOpen.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SelfDelete.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Install.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Uninstall.cpp)
endif()
