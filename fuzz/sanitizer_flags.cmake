# The fuzzing build (VF_FUZZ, clang only): every library and plug-in is
# compiled with coverage for libFuzzer and with AddressSanitizer and
# UndefinedBehaviorSanitizer, every report fatal. The sanitizer runtime is
# the shared one, so that the platform layer and the plug-ins (linked with
# --no-undefined) find it; the executables carry its folder as run path.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "VF_FUZZ needs clang (libFuzzer): configure with the fuzz preset")
endif()
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-resource-dir OUTPUT_VARIABLE vf_clang_resource_dir
                OUTPUT_STRIP_TRAILING_WHITESPACE)
add_compile_options(-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined -shared-libsan -Wl,-rpath,${vf_clang_resource_dir}/lib/linux)
