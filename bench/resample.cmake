# The resampling benchmark's peer: OpenCV's resize and warpAffine (core and imgproc).
find_path(PV_OPENCV_INCLUDE_DIR opencv2/imgproc.hpp PATH_SUFFIXES opencv4)
find_library(PV_OPENCV_CORE_LIBRARY opencv_core)
find_library(PV_OPENCV_IMGPROC_LIBRARY opencv_imgproc)
if(PV_OPENCV_INCLUDE_DIR AND PV_OPENCV_CORE_LIBRARY AND PV_OPENCV_IMGPROC_LIBRARY)
  target_include_directories(bench_resample SYSTEM PRIVATE ${PV_OPENCV_INCLUDE_DIR})
  target_link_libraries(bench_resample PRIVATE ${PV_OPENCV_IMGPROC_LIBRARY} ${PV_OPENCV_CORE_LIBRARY})
  target_compile_definitions(bench_resample PRIVATE PV_BENCH_OPENCV=1)
endif()
