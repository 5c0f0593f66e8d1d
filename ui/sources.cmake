target_sources(vorel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SkinPixels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinGeometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowPlacement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextLines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MessageBoxLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProgressFill.cpp)
if(WIN32)
  target_sources(vorel_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SkinImage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BtnEx.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DlgEx.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PixelFont.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StaticEx.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ImgProgress.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MessageBoxDlg.cpp)
endif()

# The skin gallery and the paint benchmark: programs of their own that carry the program's
# skins, not switches of TolvVorel.exe.
if(WIN32)
  file(GLOB gallery_resource_inputs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*.rc
    ${CMAKE_SOURCE_DIR}/res/*.h ${CMAKE_SOURCE_DIR}/res/skins/*.png ${CMAKE_SOURCE_DIR}/res/icons/*.ico
    ${CMAKE_SOURCE_DIR}/tools/gallery/gallery.manifest)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/tools/gallery/gallery.rc PROPERTIES
    OBJECT_DEPENDS "${gallery_resource_inputs}")
  add_executable(skin_gallery WIN32 ${CMAKE_SOURCE_DIR}/tools/gallery/skin_gallery.cpp
    ${CMAKE_SOURCE_DIR}/tools/gallery/gallery.rc)
  target_link_libraries(skin_gallery PRIVATE vorel_win)
  target_link_options(skin_gallery PRIVATE -mwindows -municode)
  add_executable(skin_paint_bench ${CMAKE_SOURCE_DIR}/tools/bench/skin_paint_bench.cpp
    ${CMAKE_SOURCE_DIR}/tools/gallery/gallery.rc)
  target_link_libraries(skin_paint_bench PRIVATE vorel_win)
  target_link_options(skin_paint_bench PRIVATE -mconsole -municode)
  set_target_properties(skin_gallery skin_paint_bench PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()
