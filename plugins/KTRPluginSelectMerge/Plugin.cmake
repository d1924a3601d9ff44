# The select-merge plug-in file. Its objects are kept in a library of their own
# so the tests can link the very same code.
add_library(ktr_selectmerge_plugin OBJECT
  KTRPluginSelectMergePlugin.cpp
  KTRPluginSelectMergeMain.cpp
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
target_link_libraries(ktr_selectmerge_plugin PUBLIC quiltor_common ktr_selectmerge_core)
set_target_properties(ktr_selectmerge_plugin PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

quiltor_add_plugin(KTRQuiltorSelectMerge
  SOURCES $<TARGET_OBJECTS:ktr_selectmerge_plugin>
  LIBS quiltor_common ktr_selectmerge_core)
