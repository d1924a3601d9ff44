# The select-merge plug-in file. Its code is a library of its own so the
# tests link the very same objects, compiled once.
add_library(ktr_selectmerge_code STATIC
  KTRPluginSelectMergePlugin.cpp
  KTRPluginSelectMergeMain.cpp
  MergeProgress.cpp
  $<$<BOOL:${WIN32}>:MergeProgressWindow.cpp>
  MergeRunTarget.cpp
  MergeRunChoice.cpp
  MergeRunPlacement.cpp
  MergeRunSeams.cpp
  SelectMergeHost.cpp
  TilePlacement.cpp
  LayerSchemeCheck.cpp
  Tokyo23Layers.cpp
  SeamWork.cpp
  SeamStyle.cpp
  SeamOutlines.cpp
  LineConnect.cpp
  CompoundShape.cpp
  CompoundPolyline.cpp
  AboveAllPolygon.cpp)
target_include_directories(ktr_selectmerge_code PUBLIC $<TARGET_PROPERTY:quiltor_common,INTERFACE_INCLUDE_DIRECTORIES>)
target_link_libraries(ktr_selectmerge_code PUBLIC quiltor_hostapi ktr_selectmerge_core)
if(WIN32)
  # The progress window and the selection dialog.
  target_link_libraries(ktr_selectmerge_code PUBLIC user32 gdi32 comctl32)
endif()
set_target_properties(ktr_selectmerge_code PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

# What tests link: the framework calls back into the plug-in (its object, its suite list), so the
# two are scanned together.
add_library(ktr_selectmerge_plugin INTERFACE)
target_link_libraries(ktr_selectmerge_plugin INTERFACE "$<LINK_GROUP:RESCAN,ktr_selectmerge_code,quiltor_common>")

quiltor_add_plugin(KTRQuiltorSelectMerge
  LIBRARY ktr_selectmerge_code
  PROPERTIES ${CMAKE_CURRENT_SOURCE_DIR}/KTRQuiltorSelectMerge.rc)
if(NOT WIN32)
  quiltor_macos_bundle(KTRQuiltorSelectMerge PINM "Orvela Plateo.ai Quiltware Quiltor セレクトマージ"
    NIB ${CMAKE_CURRENT_SOURCE_DIR}/Resources/Window.xib)
endif()

if(QUILTOR_DIALOG STREQUAL "appkit" AND NOT APPLE)
  # GNUstep loads the nib "Window" as its xib text, from NAME.resources beside the plug-in file.
  add_custom_command(TARGET KTRQuiltorSelectMerge POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_CURRENT_SOURCE_DIR}/Resources/Window.xib
            ${PROJECT_BINARY_DIR}/plugins/KTRQuiltorSelectMerge.resources/Window.xib)
endif()
