# cmake -DINPUT=x.rc -DOUTPUT=x.cpp -P EmbedResourceScript.cmake
# Converts the UTF-8 resource script to code page 932 and writes it as a C++
# array that the frame's Linux library entry registers with the platform layer.
find_program(ICONV iconv REQUIRED)
execute_process(COMMAND ${ICONV} -f UTF-8 -t CP932 ${INPUT} OUTPUT_FILE ${OUTPUT}.cp932 RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${INPUT}: not convertible from UTF-8 to code page 932")
endif()
file(READ ${OUTPUT}.cp932 hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR byte_count "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <cstddef>\n"
  "extern const unsigned char vf_resource_script[] = {\n${bytes}0x00};\n"
  "extern const std::size_t vf_resource_script_size = ${byte_count};\n")
file(REMOVE ${OUTPUT}.cp932)
