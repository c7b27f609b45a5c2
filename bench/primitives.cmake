# The primitives benchmark's peer: OpenCV's filled anti-aliased circles.
include(${CMAKE_SOURCE_DIR}/cmake/PvOpenCV.cmake)
pv_link_opencv(bench_primitives)
