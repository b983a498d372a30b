# The Linux build: the portable core and the JNI code with their tests, and jlaunch-pack.
find_package(GTest REQUIRED)
enable_testing()
option(JLAUNCH_SANITIZE "clang with ASan and UBSan; builds the fuzz targets instead of the JNI tests" OFF)
if(JLAUNCH_SANITIZE)
  include(cmake/sanitize.cmake)
endif()

add_library(jlaunch_core STATIC ${JLAUNCH_PORTABLE_SOURCES} src/common/ansi_posix.cpp)
target_include_directories(jlaunch_core PUBLIC src)
target_compile_options(jlaunch_core PRIVATE ${JLAUNCH_WARNINGS})

add_library(jlaunch_vm STATIC ${JLAUNCH_VM_SOURCES})
target_include_directories(jlaunch_vm PUBLIC ${JLAUNCH_JDK}/include ${JLAUNCH_JDK}/include/linux)
target_link_libraries(jlaunch_vm PUBLIC jlaunch_core)
target_compile_options(jlaunch_vm PRIVATE ${JLAUNCH_WARNINGS})

add_library(jlaunch_plan STATIC ${JLAUNCH_PLAN_SOURCES})
target_link_libraries(jlaunch_plan PUBLIC jlaunch_vm)
target_compile_options(jlaunch_plan PRIVATE ${JLAUNCH_WARNINGS})

add_subdirectory(tools/pack)
add_subdirectory(tools/explain)
add_subdirectory(tests/unit)
if(JLAUNCH_SANITIZE)
  # No JNI tests here: the JVM's own use of signals and memory fights ASan.
  add_subdirectory(tests/fuzz)
else()
  add_subdirectory(tests/jvm)
endif()
