# The compose benchmark's peer: pixman's compositing operators.
find_package(PkgConfig REQUIRED)
pkg_check_modules(PIXMAN REQUIRED IMPORTED_TARGET pixman-1)
target_link_libraries(bench_compose PRIVATE PkgConfig::PIXMAN)
