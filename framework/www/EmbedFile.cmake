# Turns one file into a C++ source that defines its bytes as an array.
#   cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DSYMBOL=<c identifier> -P EmbedFile.cmake
# The array lives in orv::detail; EmbeddedFiles.cpp (generated beside it) lists them all.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR size "${hexlen} / 2")
if(size EQUAL 0)
  set(body "0")
  set(arrlen 1)
else()
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," body "${hex}")
  set(arrlen ${size})
endif()
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.
#include <cstddef>
namespace orv::detail {
extern const unsigned char ${SYMBOL}[${arrlen}];
extern const std::size_t ${SYMBOL}_size;
const unsigned char ${SYMBOL}[${arrlen}] = {
${body}};
const std::size_t ${SYMBOL}_size = ${size};
}  // namespace orv::detail
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
