# Polygon booleans for the pathfinder suite.
pkg_check_modules(POLYCLIPPING REQUIRED IMPORTED_TARGET polyclipping)
target_link_libraries(quiltor_host_core PUBLIC PkgConfig::POLYCLIPPING)
