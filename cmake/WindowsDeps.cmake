# The host's libraries for the Windows build, compiled from Debian's own source packages, which
# tools/build-windows.sh fetches into QUILTOR_WINDOWS_DEPS. Named as the Linux build's pkg-config
# targets, so the host's folders link them the same way.
set(QUILTOR_WINDOWS_DEPS "" CACHE PATH "Where tools/build-windows.sh unpacked pugixml and libpolyclipping")
file(GLOB pugixml_dir "${QUILTOR_WINDOWS_DEPS}/pugixml-*")
file(GLOB polyclipping_dir "${QUILTOR_WINDOWS_DEPS}/libpolyclipping-*")
if(NOT pugixml_dir OR NOT polyclipping_dir)
  message(FATAL_ERROR "No pugixml or libpolyclipping source under '${QUILTOR_WINDOWS_DEPS}': run tools/build-windows.sh")
endif()

add_library(quiltor_win_pugixml STATIC ${pugixml_dir}/src/pugixml.cpp)
target_include_directories(quiltor_win_pugixml SYSTEM PUBLIC ${pugixml_dir}/src)
add_library(PkgConfig::PUGIXML ALIAS quiltor_win_pugixml)

# The Linux build includes <polyclipping/clipper.hpp>; give the header that path.
set(clipper_include ${CMAKE_CURRENT_BINARY_DIR}/polyclipping-include)
file(COPY ${polyclipping_dir}/cpp/clipper.hpp DESTINATION ${clipper_include}/polyclipping)
add_library(quiltor_win_polyclipping STATIC ${polyclipping_dir}/cpp/clipper.cpp)
target_include_directories(quiltor_win_polyclipping SYSTEM PUBLIC ${clipper_include})
target_compile_options(quiltor_win_polyclipping PRIVATE -w)
add_library(PkgConfig::POLYCLIPPING ALIAS quiltor_win_polyclipping)
