target_sources(vorel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Url.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PublisherDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DownloadProgress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VersionKey.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UpdateRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GameHallDownload.cpp)
if(WIN32)
  target_sources(vorel_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TransferHandles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HttpFetch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FileDigest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SelfUpdate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DialogTransfer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PrgsDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DownGameDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UpdateFlows.cpp)
endif()

# The download and digest benchmark: a program of its own, run by scripts/download-bench.sh.
if(WIN32)
  add_executable(download_bench ${CMAKE_SOURCE_DIR}/tools/bench/download_bench.cpp)
  target_link_libraries(download_bench PRIVATE vorel_win)
  target_link_options(download_bench PRIVATE -mconsole -municode)
  set_target_properties(download_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()
