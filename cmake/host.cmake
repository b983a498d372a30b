# The Linux build: the portable core and the JNI code with their tests.
find_package(GTest REQUIRED)
enable_testing()

add_library(jlaunch_core STATIC ${JLAUNCH_PORTABLE_SOURCES} src/common/ansi_posix.cpp)
target_include_directories(jlaunch_core PUBLIC src)
target_compile_options(jlaunch_core PRIVATE ${JLAUNCH_WARNINGS})

add_subdirectory(tests/unit)
