# The Windows build: jlaunch.exe, the packager tools and the test bed's Windows side.
enable_language(RC)

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

# Statically linked: the launcher imports system DLLs only.
set(JLAUNCH_WINDOWS_LINK -static -static-libgcc -static-libstdc++ -s -Wl,--gc-sections)
add_compile_options(-ffunction-sections -fdata-sections)

# The window libraries are needed only when the launcher shows a box, a
# dialog or its splash, and the registry's only when it searches there or
# draws its link. Loading each on first use instead of at process start
# keeps start-up short where loading them is costly (Wine takes ~45 ms for
# user32, which gdi32 and ole32 load in turn); each import library is made
# from the toolchain's own list of the library's exports. A library loaded on
# first use comes from the system folder (delay_load_hook_win32.cpp) and
# still resolves through the executable's manifest, so comctl32 comes in
# version 6.
set(DELAY_IMPORT_DIR ${CMAKE_BINARY_DIR}/delay-import)
set(DELAY_LOADED_LIBRARIES user32 gdi32 comctl32 shell32 ole32 oleaut32 advapi32)
set(DELAY_IMPORT_LIBRARIES)
foreach(library ${DELAY_LOADED_LIBRARIES})
  set(delay_library ${DELAY_IMPORT_DIR}/lib${library}-delay.a)
  add_custom_command(
    OUTPUT ${delay_library}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DELAY_IMPORT_DIR}
    COMMAND sh -c "{ echo LIBRARY $3.dll; echo EXPORTS; x86_64-w64-mingw32-nm --defined-only \"$1\" 2>/dev/null | sed -n 's/^[0-9a-f]* T //p' | sort -u; } > \"$2\"" sh
            ${CMAKE_FIND_ROOT_PATH}/lib/lib${library}.a ${DELAY_IMPORT_DIR}/${library}.def ${library}
    COMMAND x86_64-w64-mingw32-dlltool --def ${DELAY_IMPORT_DIR}/${library}.def
            --output-delaylib ${delay_library}
    VERBATIM)
  list(APPEND DELAY_IMPORT_LIBRARIES ${delay_library})
endforeach()
add_custom_target(delay_import_libraries DEPENDS ${DELAY_IMPORT_LIBRARIES})
add_library(delay_loaded INTERFACE)
add_dependencies(delay_loaded delay_import_libraries)
target_link_libraries(delay_loaded INTERFACE ${DELAY_IMPORT_LIBRARIES} delayimp)

# The product's code throws and catches nothing, and asks no type for its
# name. With GNU's C++ runtime it is built without exceptions and without
# RTTI, which drops their tables and type descriptions, and the runtime's
# throwing helpers are replaced (libstdcxx/no_throw_runtime.cpp) so that its
# exception classes stay out too. Without the interprocedural clones that
# pass an object's parts instead of the object, each file no longer carries
# its own copies of the string's helpers (8 KB in all). Another toolchain
# builds the same sources without these options.
# (Link-time optimisation is no option here: the toolchain's GCC 12 stops with
# an internal compiler error in <variant> when linking with -flto.)
set(JLAUNCH_PRODUCT_OPTIONS ${JLAUNCH_WARNINGS})
set(JLAUNCH_RUNTIME_SOURCES)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND JLAUNCH_PRODUCT_OPTIONS -fno-exceptions -fno-rtti -fno-ipa-sra)
  list(APPEND JLAUNCH_RUNTIME_SOURCES cmake/libstdcxx/no_throw_runtime.cpp)
endif()

add_library(jlaunch_core STATIC ${JLAUNCH_PORTABLE_SOURCES})
target_include_directories(jlaunch_core PUBLIC src)
target_compile_options(jlaunch_core PRIVATE ${JLAUNCH_PRODUCT_OPTIONS})
target_compile_definitions(jlaunch_core PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)

add_library(jlaunch_vm STATIC ${JLAUNCH_VM_SOURCES})
target_include_directories(jlaunch_vm PUBLIC ${JLAUNCH_JDK}/include ${CMAKE_SOURCE_DIR}/cmake/windows-jni)
target_link_libraries(jlaunch_vm PUBLIC jlaunch_core)
target_compile_options(jlaunch_vm PRIVATE ${JLAUNCH_PRODUCT_OPTIONS})

add_library(jlaunch_plan STATIC ${JLAUNCH_PLAN_SOURCES})
target_link_libraries(jlaunch_plan PUBLIC jlaunch_vm)
target_compile_options(jlaunch_plan PRIVATE ${JLAUNCH_PRODUCT_OPTIONS})

# The Windows shell as a library: the launcher links all of it, the tools and
# test helpers the parts they use.
add_library(jlaunch_win32 STATIC ${JLAUNCH_WIN32_SOURCES})
target_link_libraries(jlaunch_win32 PUBLIC jlaunch_plan)
target_include_directories(jlaunch_win32 PUBLIC resources)
target_compile_options(jlaunch_win32 PRIVATE ${JLAUNCH_PRODUCT_OPTIONS})

# The two launchers, GUI and console, from the same library: each links its
# entry point, which picks its flavour (how it tells the user of a failure).
# The delay-load hook is referenced by nothing the linker follows, so it is
# an object of each executable, not of the library; so are the resources,
# compiled once.
add_library(jlaunch_resources OBJECT resources/jlaunch.rc)
target_include_directories(jlaunch_resources PRIVATE resources)
set_source_files_properties(resources/jlaunch.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/resources/strings.rc;${CMAKE_SOURCE_DIR}/resources/dialogs.rc;${CMAKE_SOURCE_DIR}/resources/version.rc;${CMAKE_SOURCE_DIR}/resources/jlaunch.manifest;${CMAKE_SOURCE_DIR}/resources/icon/app.ico;${CMAKE_SOURCE_DIR}/resources/resource_ids.h")
foreach(launcher jlaunch jlaunchc)
  add_executable(${launcher} src/launcher/delay_load_hook_win32.cpp ${JLAUNCH_RUNTIME_SOURCES}
    $<TARGET_OBJECTS:jlaunch_resources>)
  target_link_libraries(${launcher} PRIVATE jlaunch_win32 delay_loaded)
  target_compile_options(${launcher} PRIVATE ${JLAUNCH_PRODUCT_OPTIONS} -municode)
  target_include_directories(${launcher} PRIVATE resources)
endforeach()
target_sources(jlaunch PRIVATE src/launcher/main_win32.cpp)
target_link_options(jlaunch PRIVATE -municode -mwindows ${JLAUNCH_WINDOWS_LINK})
target_sources(jlaunchc PRIVATE src/launcher/console_main_win32.cpp)
target_link_options(jlaunchc PRIVATE -municode ${JLAUNCH_WINDOWS_LINK})

add_subdirectory(tools)
add_subdirectory(tests/e2e)
add_subdirectory(samples/console)

# A sample application a packager can copy to Windows: exe, settings, jar.
set(SAMPLE_DIR ${CMAKE_BINARY_DIR}/sample)
file(GLOB_RECURSE SAMPLE_JAVA CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/samples/swing/src/*.java)
add_custom_command(
  OUTPUT ${SAMPLE_DIR}/lib/sample-app.jar
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/sample-classes
  COMMAND ${JLAUNCH_JDK}/bin/javac --release 8 -Xlint:-options -d ${CMAKE_BINARY_DIR}/sample-classes ${SAMPLE_JAVA}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SAMPLE_DIR}/lib
  COMMAND ${JLAUNCH_JDK}/bin/jar --create --file ${SAMPLE_DIR}/lib/sample-app.jar
          --main-class com.example.sample.SampleApp -C ${CMAKE_BINARY_DIR}/sample-classes .
  DEPENDS ${SAMPLE_JAVA}
  VERBATIM)
# The sample's launcher carries its own icon and version record, branded by
# the Linux jlaunch-pack of the host build (scripts/build builds that first).
set(JLAUNCH_HOST_PACK ${CMAKE_SOURCE_DIR}/build/host/bin/jlaunch-pack CACHE FILEPATH
  "jlaunch-pack built for the build machine")
add_custom_command(
  OUTPUT ${SAMPLE_DIR}/SampleApp.exe
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SAMPLE_DIR}
  COMMAND ${JLAUNCH_HOST_PACK} $<TARGET_FILE:jlaunch> ${SAMPLE_DIR}/SampleApp.exe
          --config ${CMAKE_SOURCE_DIR}/samples/swing/SampleApp.pack.ini
  DEPENDS jlaunch ${JLAUNCH_HOST_PACK} samples/swing/SampleApp.pack.ini samples/swing/icon/SampleApp.ico
  VERBATIM)
add_custom_target(sample ALL
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/samples/swing/SampleApp.ini
          ${CMAKE_SOURCE_DIR}/samples/swing/README.txt ${SAMPLE_DIR}
  DEPENDS ${SAMPLE_DIR}/SampleApp.exe ${SAMPLE_DIR}/lib/sample-app.jar
  VERBATIM)
