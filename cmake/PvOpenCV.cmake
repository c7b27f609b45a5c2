# pv_link_opencv(target): links OpenCV's core and image processing to a benchmark program as
# its peer and defines PV_BENCH_OPENCV, when their headers and libraries are present;
# otherwise the program measures our side only.
function(pv_link_opencv target)
  find_path(PV_OPENCV_INCLUDE_DIR opencv2/imgproc.hpp PATH_SUFFIXES opencv4)
  find_library(PV_OPENCV_CORE_LIBRARY opencv_core)
  find_library(PV_OPENCV_IMGPROC_LIBRARY opencv_imgproc)
  if(PV_OPENCV_INCLUDE_DIR AND PV_OPENCV_CORE_LIBRARY AND PV_OPENCV_IMGPROC_LIBRARY)
    target_include_directories(${target} SYSTEM PRIVATE ${PV_OPENCV_INCLUDE_DIR})
    target_link_libraries(${target} PRIVATE ${PV_OPENCV_IMGPROC_LIBRARY} ${PV_OPENCV_CORE_LIBRARY})
    target_compile_definitions(${target} PRIVATE PV_BENCH_OPENCV=1)
  endif()
endfunction()
