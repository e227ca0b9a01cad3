# vf_add_plugin(NAME KIND DIB|LINE_ACCESS RC file.rc SOURCES ... [LIBRARIES ...])
#
# Builds one plug-in: a static library NAME_core with the plug-in's own code
# (the tests link it directly), and the loadable module NAME.so / NAME.dll that
# adds the frame's export glue and the embedded dialog template. Plug-in code
# is compiled with code page 932 as its execution character set, so that every
# quoted text reaches the host as code page 932 bytes.

if(VF_FUZZ)
  # clang writes UTF-8 only: the fuzzing build keeps the texts in UTF-8,
  # which nothing its targets check depends on.
  set(VF_PLUGIN_CHARSET_OPTIONS -finput-charset=UTF-8)
else()
  set(VF_PLUGIN_CHARSET_OPTIONS -fexec-charset=CP932 -finput-charset=UTF-8)
endif()

function(vf_plugin_compile_options target)
  target_compile_options(${target} PRIVATE ${VF_PLUGIN_CHARSET_OPTIONS})
  if(NOT WIN32)
    set_target_properties(${target} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  endif()
endfunction()

function(vf_add_plugin name)
  cmake_parse_arguments(PLUGIN "" "KIND;RC" "SOURCES;LIBRARIES" ${ARGN})
  if(NOT PLUGIN_KIND MATCHES "^(DIB|LINE_ACCESS)$")
    message(FATAL_ERROR "vf_add_plugin(${name}): KIND must be DIB or LINE_ACCESS")
  endif()
  get_filename_component(rc_path ${PLUGIN_RC} ABSOLUTE)

  add_library(${name}_core STATIC ${PLUGIN_SOURCES})
  target_link_libraries(${name}_core PUBLIC vf_frame ${PLUGIN_LIBRARIES})
  target_include_directories(${name}_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  vf_plugin_compile_options(${name}_core)

  if(WIN32)
    # The template source is UTF-8; windres reads it as such (code page
    # 65001) and stores the dialog's texts as the system expects them.
    set(resource_object ${CMAKE_CURRENT_BINARY_DIR}/${name}_rc.o)
    add_custom_command(
      OUTPUT ${resource_object}
      COMMAND ${CMAKE_RC_COMPILER} -c 65001 -I ${CMAKE_CURRENT_SOURCE_DIR} -O coff -i ${rc_path} -o ${resource_object}
      DEPENDS ${rc_path}
      COMMENT "Compiling dialog template of ${name}")
    set(resource_source ${resource_object})
  else()
    # Linux: the same file is embedded in the plug-in, converted to code page
    # 932, and our platform layer reads the template from it.
    set(resource_source ${CMAKE_CURRENT_BINARY_DIR}/${name}_resource_script.cpp)
    add_custom_command(
      OUTPUT ${resource_source}
      COMMAND ${CMAKE_COMMAND} -DINPUT=${rc_path} -DOUTPUT=${resource_source} -P
              ${PROJECT_SOURCE_DIR}/cmake/EmbedResourceScript.cmake
      DEPENDS ${rc_path} ${PROJECT_SOURCE_DIR}/cmake/EmbedResourceScript.cmake
      COMMENT "Embedding dialog template of ${name}")
  endif()

  add_library(${name} MODULE ${PROJECT_SOURCE_DIR}/frame/src/plugin_exports.cpp ${resource_source})
  target_compile_definitions(${name} PRIVATE VF_PLUGIN_NAME="${name}" VF_PLUGIN_KIND_${PLUGIN_KIND}=1)
  target_link_libraries(${name} PRIVATE ${name}_core)
  vf_plugin_compile_options(${name})
  set_target_properties(${name} PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${VF_PLUGIN_DIR}
                                           RUNTIME_OUTPUT_DIRECTORY ${VF_PLUGIN_DIR})
  if(WIN32)
    vf_windows_plugin_link(${name})
  else()
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
  set_property(GLOBAL APPEND PROPERTY VF_PLUGINS ${name})
endfunction()

# Windows link of a plug-in. The module may import only from KERNEL32,
# USER32, GDI32, COMDLG32, COMCTL32 and the C runtime DLL; the compiler
# runtime is linked in (static libgcc and libstdc++, the win32 thread model,
# so no winpthread). COMCTL32's InitCommonControls and CreateUpDownControl are
# imported by ordinal (17 and 16): an import library made from
# comctl32_ordinals.def sits in a folder searched before the toolchain's own,
# so every -lcomctl32 of the link (the frame's included) resolves to it.
function(vf_windows_comctl32_ordinal_library out_dir)
  set(dir ${CMAKE_BINARY_DIR}/lib/comctl32-ordinals)
  set(def_source ${PROJECT_SOURCE_DIR}/cmake/comctl32_ordinals.def)
  file(READ ${def_source} def_text)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    # 64-bit symbols carry no stdcall @n decoration.
    string(REGEX REPLACE "@[0-9]+ +@" " @" def_text "${def_text}")
  endif()
  file(MAKE_DIRECTORY ${dir})
  file(WRITE ${dir}/comctl32.def "${def_text}")
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def_source})
  if(NOT EXISTS ${dir}/libcomctl32.a OR ${def_source} IS_NEWER_THAN ${dir}/libcomctl32.a)
    execute_process(COMMAND ${VF_DLLTOOL} -d ${dir}/comctl32.def -l ${dir}/libcomctl32.a
                    RESULT_VARIABLE status ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "dlltool could not build the COMCTL32 ordinal import library: ${errors}")
    endif()
  endif()
  set(${out_dir} ${dir} PARENT_SCOPE)
endfunction()

function(vf_windows_plugin_link name)
  vf_windows_comctl32_ordinal_library(ordinal_dir)
  target_link_directories(${name} BEFORE PRIVATE ${ordinal_dir})
  target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--subsystem,windows
                      $<$<CONFIG:Release,MinSizeRel>:-s>)
  target_link_libraries(${name} PRIVATE user32 gdi32 comdlg32 comctl32 kernel32)
endfunction()
