# quiltor_macos_bundle(NAME PINM name [NIB file.xib]): the macOS bundle of plug-in NAME,
#   NAME.aip/Contents/Info.plist
#   NAME.aip/Contents/MacOS/NAME                      the plug-in's code
#   NAME.aip/Contents/Resources/pipl/plugin.pipl      its property list (tools/pipl)
#   NAME.aip/Contents/Resources/Window.nib            the compiled nib, when NIB is given
# On Apple the plug-in target becomes that bundle. Elsewhere Info.plist and the property list are
# still written, into macos/NAME.aip/Contents of the build folder, so that a test reads them back.
function(quiltor_macos_bundle name)
  cmake_parse_arguments(B "" "PINM;NIB" "" ${ARGN})
  set(contents ${PROJECT_BINARY_DIR}/macos/${name}.aip/Contents)
  set(QUILTOR_BUNDLE_EXECUTABLE ${name})
  set(QUILTOR_BUNDLE_IDENTIFIER "ai.plateo.quiltware.${name}")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/MacInfo.plist.in ${contents}/Info.plist @ONLY)
  set(pipl ${contents}/Resources/pipl/plugin.pipl)
  add_custom_command(OUTPUT ${pipl}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${contents}/Resources/pipl
    COMMAND quiltor-pipl ${pipl} "${B_PINM}"
    DEPENDS quiltor-pipl
    COMMENT "The property list of ${name}.aip" VERBATIM)
  add_custom_target(${name}_bundle_files ALL DEPENDS ${pipl})
  if(NOT APPLE)
    return()
  endif()
  set_target_properties(${name} PROPERTIES BUNDLE TRUE BUNDLE_EXTENSION aip
    MACOSX_BUNDLE_INFO_PLIST ${contents}/Info.plist)
  set_source_files_properties(${pipl} PROPERTIES MACOSX_PACKAGE_LOCATION Resources/pipl GENERATED TRUE)
  target_sources(${name} PRIVATE ${pipl})
  if(B_NIB)
    find_program(IBTOOL ibtool REQUIRED)
    get_filename_component(nib_name ${B_NIB} NAME_WE)
    set(nib ${CMAKE_CURRENT_BINARY_DIR}/${nib_name}.nib)
    add_custom_command(OUTPUT ${nib} COMMAND ${IBTOOL} --compile ${nib} ${B_NIB} DEPENDS ${B_NIB} VERBATIM)
    set_source_files_properties(${nib} PROPERTIES MACOSX_PACKAGE_LOCATION Resources GENERATED TRUE)
    target_sources(${name} PRIVATE ${nib})
  endif()
endfunction()
