# Compiler and linker settings per target.

if(WIN32)
  set(WQ_PLATFORM_SUFFIX win)
  # Test programs run under Wine through the one script that picks its loader.
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/winrun)
else()
  set(WQ_PLATFORM_SUFFIX posix)
endif()

# Warnings are errors in our own code only (wq_strict_warnings on each target).
function(wq_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# The driver library's file name without prefix and extension. A release name
# carries the version: the platform caches unpacked libraries by file name,
# so a new version must come under a new name.
set(WQ_LIBRARY_OUTPUT_NAME w_quorlan7t4p)
if(WQ_TARGET STREQUAL "win64" OR (WQ_RELEASE AND WQ_TARGET STREQUAL "linux"))
  string(APPEND WQ_LIBRARY_OUTPUT_NAME 64)
endif()
if(WQ_RELEASE)
  string(REPLACE "." "_" wq_version_words "${PROJECT_VERSION}")
  string(APPEND WQ_LIBRARY_OUTPUT_NAME _${wq_version_words})
endif()

if(WQ_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# The fuzz build instruments all code for coverage; only the fuzz targets
# link libFuzzer's own main (tests/fuzz).
if(WQ_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# A release binary is stripped, and on Windows carries no link time stamp, so
# that the same sources give the same bytes.
function(wq_release_binary target)
  if(WQ_RELEASE)
    target_link_options(${target} PRIVATE -s)
    if(WIN32)
      target_link_options(${target} PRIVATE -Wl,--no-insert-timestamp)
    endif()
  endif()
endfunction()

# A library product carries its C++ runtime: the platform loads it into a
# process that has none, or another one.
function(wq_self_contained_library target)
  wq_release_binary(${target})
  if(WIN32)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    set_target_properties(${target} PROPERTIES PREFIX "")
  elseif(NOT WQ_SANITIZE)
    target_link_options(${target} PRIVATE -static-libgcc -static-libstdc++
                        -Wl,--exclude-libs,ALL -Wl,--no-undefined
                        -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/exports.map)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/exports.map)
  endif()
endfunction()

# Programs built for Windows run under Wine without MinGW's runtime DLLs.
function(wq_self_contained_program target)
  wq_release_binary(${target})
  if(WIN32)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()

# Adds base.cpp (when there is one) and its platform file base_win.cpp or
# base_posix.cpp to `target`.
function(wq_platform_sources target)
  foreach(base IN LISTS ARGN)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${base}.cpp)
      target_sources(${target} PRIVATE ${base}.cpp)
    endif()
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${base}_${WQ_PLATFORM_SUFFIX}.cpp)
      target_sources(${target} PRIVATE ${base}_${WQ_PLATFORM_SUFFIX}.cpp)
    endif()
  endforeach()
endfunction()
