# The primitives benchmark's peer: OpenCV's filled anti-aliased circles (core and imgproc),
# linked when their headers and libraries are present; otherwise the cases run on our side only.
find_path(PV_OPENCV_INCLUDE_DIR opencv2/imgproc.hpp PATH_SUFFIXES opencv4)
find_library(PV_OPENCV_CORE_LIBRARY opencv_core)
find_library(PV_OPENCV_IMGPROC_LIBRARY opencv_imgproc)
if(PV_OPENCV_INCLUDE_DIR AND PV_OPENCV_CORE_LIBRARY AND PV_OPENCV_IMGPROC_LIBRARY)
  target_include_directories(bench_primitives SYSTEM PRIVATE ${PV_OPENCV_INCLUDE_DIR})
  target_link_libraries(bench_primitives PRIVATE ${PV_OPENCV_IMGPROC_LIBRARY} ${PV_OPENCV_CORE_LIBRARY})
  target_compile_definitions(bench_primitives PRIVATE PV_BENCH_OPENCV=1)
endif()
