# cmake -DINPUT=file -DOUTPUT=header -DNAME=identifier -P embedtext.cmake
# Writes the bytes of INPUT into a C++ header as `static const unsigned char NAME[]`, so the
# program carries the file and needs no path to the source tree. Bytes rather than a raw string
# literal: no delimiter can clash with the text and no compiler limit on literal length applies.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REPEAT "0x..," 16 line)
string(REGEX REPLACE "(${line})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
    "// Generated from ${INPUT} by embedtext.cmake. Do not edit.\n"
    "#pragma once\n\n"
    "static const unsigned char ${NAME}[] = {\n${bytes}\n};\n")
# Unchanged output keeps its time stamp, so nothing recompiles needlessly.
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
