# The display benchmark's peer: OpenCV's resize and warpAffine.
include(${CMAKE_SOURCE_DIR}/cmake/PvOpenCV.cmake)
pv_link_opencv(bench_display)
