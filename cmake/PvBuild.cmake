# Build helpers shared by every folder: warning and sanitizer flags, and the way an engine
# folder contributes its sources (every .cpp directly inside it; qt/ subfolders never).

function(pv_setup_warnings_and_sanitizers)
  add_compile_options(-Wall -Wextra)
  if(PV_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
  endif()
  if(PV_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
      message(FATAL_ERROR "PV_FUZZ needs clang (use the 'fuzz' preset)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
endfunction()

function(pv_engine_folder folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  if(sources)
    target_sources(pvengine PRIVATE ${sources})
  endif()
endfunction()
