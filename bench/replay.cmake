# The replay benchmark's peer for event-file blocks: zlib called directly.
find_package(PkgConfig REQUIRED)
pkg_check_modules(REPLAY_BENCH_ZLIB REQUIRED IMPORTED_TARGET zlib)
target_link_libraries(bench_replay PRIVATE PkgConfig::REPLAY_BENCH_ZLIB)
