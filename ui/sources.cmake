target_sources(vorel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SkinPixels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinGeometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextLines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MessageBoxLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProgressFill.cpp)
if(WIN32)
  target_sources(vorel_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SkinImage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BtnEx.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DlgEx.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StaticEx.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ImgProgress.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MessageBoxDlg.cpp)
endif()
