# cmake -DPNG_DIR=... -DOUTPUT=... -P png_table.cmake
# Writes a C++ table with the bytes of every NNNNN.png of PNG_DIR, ordered by number.
file(GLOB files ${PNG_DIR}/*.png)
list(SORT files)
set(arrays "")
set(entries "")
foreach(file ${files})
    get_filename_component(name ${file} NAME_WE)
    if(NOT name MATCHES "^[0-9]+$")
        continue()
    endif()
    math(EXPR number "${name}")
    file(READ ${file} hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND arrays "static const unsigned char png${number}[] = {${bytes}};\n")
    string(APPEND entries "    {${number}, png${number}, sizeof png${number}},\n")
endforeach()
file(WRITE ${OUTPUT}.tmp "// Generated from resources/png at build time.\n#include \"platform/png_resource.h\"\n\n"
     "${arrays}\nextern const PngResourceEntry zemPngResources[] = {\n${entries}};\n"
     "extern const size_t zemPngResourceCount = sizeof zemPngResources / sizeof zemPngResources[0];\n")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
