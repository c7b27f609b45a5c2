# The pixkit benchmark's peers: libpng, libjpeg and zlib called directly.
find_package(PkgConfig REQUIRED)
pkg_check_modules(PIXKIT_BENCH_PEERS REQUIRED IMPORTED_TARGET libpng libjpeg zlib)
target_link_libraries(bench_pixkit PRIVATE PkgConfig::PIXKIT_BENCH_PEERS)
