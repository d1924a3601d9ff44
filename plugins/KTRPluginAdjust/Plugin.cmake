# The adjust plug-in file. Its code is a library of its own so the
# tests link the very same objects, compiled once.
add_library(ktr_adjust_code STATIC
  AdjustArt.cpp
  CutPass.cpp
  FrameShapes.cpp
  KTRPluginAdjustMain.cpp
  KTRPluginAdjustPlugin.cpp
  TrimPasses.cpp)
target_include_directories(ktr_adjust_code PUBLIC $<TARGET_PROPERTY:quiltor_common,INTERFACE_INCLUDE_DIRECTORIES>)
target_link_libraries(ktr_adjust_code PUBLIC quiltor_hostapi ktr_adjust_core)
set_target_properties(ktr_adjust_code PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

# What tests link: the framework calls back into the plug-in (its object, its suite list), so the
# two are scanned together.
add_library(ktr_adjust_plugin INTERFACE)
target_link_libraries(ktr_adjust_plugin INTERFACE "$<LINK_GROUP:RESCAN,ktr_adjust_code,quiltor_common>")

quiltor_add_plugin(KTRQuiltorAdjust
  LIBRARY ktr_adjust_code
  PROPERTIES ${CMAKE_CURRENT_SOURCE_DIR}/KTRQuiltorAdjust.rc)
if(NOT WIN32)
  quiltor_macos_bundle(KTRQuiltorAdjust PINM "Orvela Plateo.ai Quiltware Quiltor アジャスト")
endif()
