# Writes the bytes of INPUT as a C++ array SYMBOL (and SYMBOL##Size) into OUTPUT.
file(READ ${INPUT} bytes HEX)
string(LENGTH "${bytes}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," body "${bytes}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" body "${body}")
file(WRITE ${OUTPUT} "// Generated from ${INPUT}; do not edit.\n#include <cstddef>\n\n"
  "extern const unsigned char ${SYMBOL}[] = {\n${body}\n};\n"
  "extern const std::size_t ${SYMBOL}Size = ${size};\n")
