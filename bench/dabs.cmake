# The dab benchmark's peer: libmypaint, found through pkg-config; without it the program
# measures our side only.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(PV_MYPAINT QUIET IMPORTED_TARGET libmypaint)
endif()
if(PV_MYPAINT_FOUND)
  target_link_libraries(bench_dabs PRIVATE PkgConfig::PV_MYPAINT)
  target_compile_definitions(bench_dabs PRIVATE PV_BENCH_MYPAINT=1)
endif()
