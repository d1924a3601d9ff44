# The adjust plug-in file. Its objects are kept in a library of their own so the
# tests can link the very same code.
add_library(ktr_adjust_plugin OBJECT
  KTRPluginAdjustPlugin.cpp
  KTRPluginAdjustMain.cpp)
target_link_libraries(ktr_adjust_plugin PUBLIC quiltor_common ktr_adjust_core)
set_target_properties(ktr_adjust_plugin PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

quiltor_add_plugin(KTRQuiltorAdjust
  SOURCES $<TARGET_OBJECTS:ktr_adjust_plugin>
  LIBS quiltor_common ktr_adjust_core)
