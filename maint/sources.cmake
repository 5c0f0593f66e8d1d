# Cache cleaning: tree-deletion paths in the core; the browser cache, the Flash player's
# shared objects and the worker thread in the shell.
target_sources(vorel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TreePaths.cpp)
if(WIN32)
  target_sources(vorel_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CacheCleaning.cpp)
endif()
