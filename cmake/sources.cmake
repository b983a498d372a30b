# Portable sources: no windows.h, built for Windows and for the Linux tests.
set(JLAUNCH_PORTABLE_SOURCES
  src/common/ansi_path.cpp
  src/common/argument_list.cpp
  src/common/centre_window.cpp
  src/common/dialog_layout.cpp
  src/common/format.cpp
  src/common/path_parts.cpp
  src/common/splitting.cpp
  src/common/string_table.cpp
  src/common/text.cpp
  src/launcher/embedded_settings.cpp
  src/launcher/ini_text.cpp
  src/launcher/instance_block.cpp
  src/launcher/layered_settings.cpp
  src/launcher/main_settings.cpp
  src/launcher/profile_sections.cpp
  src/launcher/settings_decoding.cpp
  src/launcher/settings_paths.cpp
  src/launcher/single_instance.cpp
  src/launcher/splash_settings_reader.cpp
  src/launcher/vm_settings_reader.cpp
  src/launcher/working_directory.cpp
  src/runtime/environment_runtimes.cpp
  src/runtime/hyper_link.cpp
  src/runtime/java_version.cpp
  src/runtime/jvm_location.cpp
  src/runtime/pe_image.cpp
  src/runtime/registry_search.cpp
  src/runtime/release_file.cpp
  src/runtime/runtime_choice.cpp
  src/runtime/runtime_ranking.cpp
  src/splash/splash_choice.cpp
)

# JNI code: needs only jni.h, so it is built for Windows and against the Linux JDK.
set(JLAUNCH_VM_SOURCES
  src/vm/class_path.cpp
  src/vm/exception_report.cpp
  src/vm/jar_main_class.cpp
  src/vm/java_main.cpp
  src/vm/jni_calls.cpp
  src/vm/jni_strings.cpp
  src/vm/launcher_helper.cpp
  src/vm/main_class_lookup.cpp
  src/vm/main_invocation.cpp
  src/vm/main_source.cpp
  src/vm/manifest_text.cpp
  src/vm/memory_sizing.cpp
  src/vm/parent_folders.cpp
  src/vm/secondary_call.cpp
  src/vm/stream_redirection.cpp
  src/vm/vm_creation.cpp
  src/vm/vm_environment.cpp
  src/vm/vm_hooks.cpp
  src/vm/vm_init_args.cpp
  src/vm/vm_options.cpp
  src/vm/vm_parameters.cpp
)

# The launch plan: the sequence of a launch over the host it runs in, above the JNI code.
set(JLAUNCH_PLAN_SOURCES
  src/launcher/launch_plan.cpp
)

# The Windows shell of the launcher.
set(JLAUNCH_WIN32_SOURCES
  src/common/ansi_win32.cpp
  src/common/centre_window_win32.cpp
  src/common/dialog_layout_win32.cpp
  src/common/growing_buffer_win32.cpp
  src/common/long_path_win32.cpp
  src/common/messages_win32.cpp
  src/common/modal_dialog_win32.cpp
  src/common/platform_win32.cpp
  src/common/resource_bytes_win32.cpp
  src/common/system_library_win32.cpp
  src/launcher/pair_launcher_win32.cpp
  src/launcher/launcher_win32.cpp
  src/launcher/process_facts_win32.cpp
  src/launcher/settings_store_win32.cpp
  src/launcher/single_instance_win32.cpp
  src/runtime/hyper_link_control_win32.cpp
  src/runtime/jvm_architecture_win32.cpp
  src/runtime/registry_win32.cpp
  src/runtime/runtime_not_found_dialog_win32.cpp
  src/splash/native_splash_win32.cpp
  src/splash/splash_picture_win32.cpp
  src/splash/splash_screen_win32.cpp
  src/splash/splash_window_win32.cpp
  src/vm/exception_dialog_win32.cpp
  src/vm/folder_operations_win32.cpp
  src/vm/java_main_thread_win32.cpp
  src/vm/jvm_library_win32.cpp
  src/vm/report_file_win32.cpp
)

set(JLAUNCH_WARNINGS -Wall -Wextra -Werror)
