# quiltor_add_test(NAME SOURCES src... LIBS lib...)
function(quiltor_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    QUILTOR_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QUILTOR_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_PREFIX "${name}."
    PROPERTIES ENVIRONMENT "QUILTOR_PLUGIN_DIR=${PROJECT_BINARY_DIR}/plugins")
endfunction()

# quiltor_add_plugin(NAME LIBRARY lib PROPERTIES rc): a host plug-in file whose only export is
# PluginMain, made of the whole of its library and the framework (the tests link the same library).
# On Windows it is NAME.aip and carries the property list of the resource script PROPERTIES.
function(quiltor_add_plugin name)
  cmake_parse_arguments(P "" "LIBRARY;PROPERTIES" "" ${ARGN})
  if(NOT TARGET ${P_LIBRARY})
    message(FATAL_ERROR "plug-in ${name}: no library target '${P_LIBRARY}'")
  endif()
  # A module needs one source of its own; everything else comes from the library.
  add_library(${name} MODULE ${PROJECT_SOURCE_DIR}/cmake/PluginModule.cpp)
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LIBRARY_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}/plugins")
  target_link_libraries(${name} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${P_LIBRARY}>" quiltor_common)
  if(WIN32)
    # Only PluginMain is marked for export, so nothing else leaves the DLL.
    target_sources(${name} PRIVATE ${P_PROPERTIES})
    set_target_properties(${name} PROPERTIES SUFFIX ".aip")
  elseif(APPLE)
    target_link_options(${name} PRIVATE "-Wl,-exported_symbol,_PluginMain")
  else()
    target_link_options(${name} PRIVATE
      "-Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/plugin.map")
  endif()
endfunction()
