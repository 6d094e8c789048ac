# Build helpers shared by every subsystem.

# The processor classes: index, file-name suffix (lower case, as in copy_avx2.cpp)
# and the exact compiler flags of the class. Nothing else in the build names them.
set(LV_CLASS_SUFFIXES sse2 sse3 ssse3 sse42 avx avx2 avx512mc avx512)
set(LV_CLASS_FLAGS_sse2     "")
set(LV_CLASS_FLAGS_sse3     "-msse3")
set(LV_CLASS_FLAGS_ssse3    "-mssse3")
set(LV_CLASS_FLAGS_sse42    "-msse4.2;-mpopcnt")
set(LV_CLASS_FLAGS_avx      "-mavx")
set(LV_CLASS_FLAGS_avx2     "-mavx2;-mfma;-mbmi;-mbmi2")
set(LV_CLASS_FLAGS_avx512mc "-mavx2;-mfma;-mavx512f;-mavx512cd")
set(LV_CLASS_FLAGS_avx512   "-mavx2;-mfma;-mavx512f;-mavx512cd;-mavx512bw;-mavx512dq;-mavx512vl")
if(LV_NATIVE_RCP28)
  list(APPEND LV_CLASS_FLAGS_avx512mc -mavx512er)
endif()
# GCC 12 reports the AVX-512 intrinsic headers' own undefined-vector idiom
# (_mm512_undefined_ps and friends) as maybe-uninitialized once they are
# inlined (and, for the in-lane and 128-bit shuffles of 512-bit vectors, as
# uninitialized); the warnings are silenced for those two classes here and
# nowhere else. (Clang, used for the fuzz build, has no such warnings.)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(LV_CLASS_WARNINGS_avx512mc "-Wno-maybe-uninitialized;-Wno-uninitialized")
  set(LV_CLASS_WARNINGS_avx512   "-Wno-maybe-uninitialized;-Wno-uninitialized")
endif()
# Clang (the fuzz build) reports two things the per-class idiom does on
# purpose: helpers that only some classes call from their `if constexpr`
# branches ("not needed and will not be emitted"), and the GCC
# code-generation pragmas of some bodies (#pragma GCC target(...)), which
# only GCC, the compiler of the program, acts on. Both are silenced for the
# per-class sources and nowhere else; g++ still checks the pragmas.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  foreach(sfx IN LISTS LV_CLASS_SUFFIXES)
    set(LV_CLASS_WARNINGS_${sfx} "-Wno-unneeded-internal-declaration;-Wno-unknown-pragmas")
  endforeach()
endif()

# Returns the class suffix of a source file name (empty for baseline files).
function(lv_class_of_source src out)
  get_filename_component(name "${src}" NAME_WE)
  set(result "")
  foreach(sfx IN LISTS LV_CLASS_SUFFIXES)
    if(name MATCHES "_${sfx}$")
      set(result ${sfx})
    endif()
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# Gives every per-class source of TARGET exactly its class's flags, defines
# LV_CLASS to the class number for it (cpu/per_class.h derives the namespace and
# the name suffix from it) and registers TARGET with the isa_audit check. Call
# it in the directory that creates TARGET.
function(lv_per_class target)
  get_target_property(srcs ${target} SOURCES)
  set(found FALSE)
  foreach(src IN LISTS srcs)
    lv_class_of_source("${src}" sfx)
    if(NOT sfx STREQUAL "")
      set(found TRUE)
      set(flags ${LV_CLASS_FLAGS_${sfx}} ${LV_CLASS_WARNINGS_${sfx}})
      if(flags)
        set_property(SOURCE "${src}" APPEND PROPERTY COMPILE_OPTIONS ${flags})
      endif()
      list(FIND LV_CLASS_SUFFIXES ${sfx} cls)
      set_property(SOURCE "${src}" APPEND PROPERTY COMPILE_DEFINITIONS LV_CLASS=${cls})
      if(sfx STREQUAL "avx512mc" AND LV_NATIVE_RCP28)
        set_property(SOURCE "${src}" APPEND PROPERTY COMPILE_DEFINITIONS LV_NATIVE_RCP28=1)
      endif()
    endif()
  endforeach()
  if(found)
    set_property(GLOBAL APPEND PROPERTY LV_AUDITED_TARGETS ${target})
  endif()
endfunction()

# A static library of our own code: warnings as errors, the repository root on
# the include path.
function(lv_add_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${LV_WARNINGS})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
  if(A_LIBS)
    target_link_libraries(${name} PUBLIC ${A_LIBS})
  endif()
  lv_per_class(${name})
endfunction()

# A GoogleTest program whose tests CTest lists one by one.
# LABELS: quick (the default), exhaustive or huge (opt-in), nosan (skipped under sanitizers),
# gallery (writes pictures for a person to look at; given with quick, so the
# default run has them and `ctest -L gallery` runs them alone).
function(lv_add_gtest name)
  cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT A_LABELS)
    set(A_LABELS quick)
  endif()
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 600)
  endif()
  # Several labels: their separators pass three list expansions on the way
  # through the test discovery script, each of which takes one level of
  # escaping (seven backslashes leave a plain list in set_tests_properties).
  string(REPEAT "\\" 7 escape)
  string(REPLACE ";" "${escape};" A_LABELS "${A_LABELS}")
  add_executable(${name} ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${LV_WARNINGS})
  target_link_libraries(${name} PRIVATE ${A_LIBS} lv_test_support GTest::gtest GTest::gmock)
  lv_per_class(${name})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES
      LABELS "${A_LABELS}"
      TIMEOUT ${A_TIMEOUT}
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# A Google Benchmark program (bench/ only).
function(lv_add_bench name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${LV_WARNINGS})
  target_link_libraries(${name} PRIVATE ${A_LIBS} benchmark::benchmark)
  lv_per_class(${name})
endfunction()

# The isa_audit check: disassembles every per-class object of every registered
# library and fails on instructions above the object's class or on weak symbols
# defined outside the class namespace.
function(lv_add_isa_audit_test)
  get_property(targets GLOBAL PROPERTY LV_AUDITED_TARGETS)
  set(files "")
  foreach(t IN LISTS targets)
    get_target_property(type ${t} TYPE)
    if(type STREQUAL "STATIC_LIBRARY")
      list(APPEND files "$<TARGET_FILE:${t}>")
    endif()
  endforeach()
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(native "")
  if(LV_NATIVE_RCP28)
    set(native --native-rcp28)
  endif()
  add_test(NAME isa_audit
           COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/isa_audit.py ${native} ${files})
  # nosan: sanitizer builds instrument the per-class objects (calls and weak
  # symbols of the sanitizer runtime), which the audit would report.
  set_tests_properties(isa_audit PROPERTIES LABELS "quick;nosan")
endfunction()

# Adds every child folder of the current source folder that has a CMakeLists.txt.
function(lv_add_child_dirs)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# The static library of a subsystem folder: every .cpp below the folder
# (per-class files included), so that families can be added side by side
# without touching a shared list. EXCLUDE: file names to leave out.
function(lv_add_subsystem_library name)
  cmake_parse_arguments(A "" "" "LIBS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(ex IN LISTS A_EXCLUDE)
    list(FILTER srcs EXCLUDE REGEX "(^|/)${ex}$")
  endforeach()
  if(NOT srcs)
    # A layer whose first sources are still to come: an empty archive keeps
    # its place in the link and layering checks.
    set(srcs ${PROJECT_SOURCE_DIR}/cmake/empty_layer.cpp)
  endif()
  lv_add_library(${name} SOURCES ${srcs} LIBS ${A_LIBS})
endfunction()

# The layers' libraries, bottom-up. A library may link only libraries listed
# before it; lv_check_layering() fails the configuration on any other edge, and
# the layering test (tools/check_layering.py) does the same for includes.
set(LV_LAYER_LIBRARIES lv_platform lv_platform_gui lv_cpu lv_vmath lv_primitives lv_fft lv_core lv_core_gui
    lv_workers lv_workers_gui lv_iqfiles lv_xcvr lv_xcvr_gui lv_plots lv_plot_windows lv_plot_threads lv_app)

function(lv_check_layering)
  set(rank 0)
  foreach(lib IN LISTS LV_LAYER_LIBRARIES)
    if(NOT TARGET ${lib})
      message(FATAL_ERROR "layering: ${lib} is listed as a layer but not built")
    endif()
    get_target_property(deps ${lib} LINK_LIBRARIES)
    foreach(dep IN LISTS deps)
      list(FIND LV_LAYER_LIBRARIES "${dep}" dep_rank)
      if(dep_rank GREATER_EQUAL rank)
        message(FATAL_ERROR "layering: ${lib} links ${dep}, which is not below it")
      endif()
    endforeach()
    math(EXPR rank "${rank} + 1")
  endforeach()
  if(LV_BUILD_TESTS)
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    add_test(NAME layering COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/check_layering.py
             ${PROJECT_SOURCE_DIR})
    set_tests_properties(layering PROPERTIES LABELS quick)
  endif()
endfunction()
