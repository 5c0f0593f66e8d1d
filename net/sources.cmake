target_sources(vorel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Url.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PublisherDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DownloadProgress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VersionKey.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UpdateRules.cpp)
if(WIN32)
  target_sources(vorel_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TransferHandles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HttpFetch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FileDigest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SelfUpdate.cpp)
endif()
