# Warnings are errors in our code; the native tree runs under ASan/UBSan.
set(KV_WARNINGS -Wall -Wextra -Werror)

if(NOT KV_CROSS AND NOT CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(KV_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_compile_options(${KV_SANITIZE})
  add_link_options(${KV_SANITIZE})
endif()

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  # Every .exe stands alone: system DLLs only.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # The linker drops sections nothing refers to (about 5 KB of KVPANEL;
  # one section per function as well made the programs larger, not smaller).
  add_link_options(-Wl,--gc-sections)
  if(NOT CMAKE_BUILD_TYPE)
    set(CMAKE_BUILD_TYPE MinSizeRel CACHE STRING "" FORCE)
  endif()
endif()

# A static library of every .c/.cpp under `dir`, except the Win32-only
# files (*_win32.cpp), which only the cross tree compiles into programs.
function(kv_portable_library name dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.c)
  list(FILTER sources EXCLUDE REGEX "_win32\\.cpp$")
  if(NOT sources)
    # A folder not yet populated still yields a linkable library.
    set(sources ${CMAKE_SOURCE_DIR}/cmake/empty.c)
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${KV_WARNINGS})
endfunction()

# A GUI program: its Win32-only sources plus the portable libraries.
function(kv_gui_program name)
  cmake_parse_arguments(P "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} WIN32 ${P_SOURCES} ${CMAKE_SOURCE_DIR}/cmake/quiet_terminate.cpp)
  target_compile_options(${name} PRIVATE ${KV_WARNINGS})
  target_link_libraries(${name} PRIVATE ${P_LIBS})
  set_target_properties(${name} PROPERTIES OUTPUT_NAME ${name} RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  target_link_options(${name} PRIVATE -mwindows -s)
  # windres reads the files a .rc names (manifest, icons, bitmaps) without
  # telling the build about them: rebuild the resources when one changes.
  file(GLOB resource_files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.manifest
       ${CMAKE_CURRENT_SOURCE_DIR}/res/*)
  foreach(source ${P_SOURCES})
    if(source MATCHES "\\.rc$")
      set_source_files_properties(${source} PROPERTIES OBJECT_DEPENDS "${resource_files}")
    endif()
  endforeach()
endfunction()

# GoogleTest for the cross tree, built from Debian's sources.
macro(kv_cross_gtest)
  if(NOT TARGET gtest)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # The win32-threads compiler has no std::mutex, which gtest's
    # Notification uses; give gtest one built on a Win32 event instead.
    target_compile_definitions(gtest PUBLIC GTEST_HAS_NOTIFICATION_=1)
    target_compile_options(gtest PUBLIC -include ${CMAKE_SOURCE_DIR}/cmake/gtest_win32_notification.h)
  endif()
endmacro()
