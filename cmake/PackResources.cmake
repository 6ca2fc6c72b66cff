# Build step of velloria_embed_packed_resources: concatenates the resource
# files into one gzip stream and writes the table that finds each of them in
# the unpacked buffer.
#   -DLIST=file (lines "type id path")  -DOUT=folder
file(STRINGS ${LIST} entries)
set(paths "")
set(table "")
set(offset 0)
foreach(entry ${entries})
  string(REGEX MATCH "^([A-Za-z]+) ([0-9]+) (.*)$" ok "${entry}")
  set(path ${CMAKE_MATCH_3})
  file(SIZE ${path} size)
  math(EXPR end "${offset} + ${size}")
  string(APPEND table "    {ResourceType::${CMAKE_MATCH_1}, ${CMAKE_MATCH_2}, velloria_unpacked + ${offset}, velloria_unpacked + ${end}},\n")
  set(offset ${end})
  list(APPEND paths ${path})
endforeach()
list(LENGTH paths count)
execute_process(COMMAND ${CMAKE_COMMAND} -E cat ${paths} OUTPUT_FILE ${OUT}/resources.bin RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot concatenate the resources")
endif()
# gzip without the file's name and time stamp (-n): two builds of the same
# sources give the same bytes.
find_program(GZIP gzip REQUIRED)
execute_process(COMMAND ${GZIP} -9 -n -c ${OUT}/resources.bin OUTPUT_FILE ${OUT}/resources.gz RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot compress the resources")
endif()
file(REMOVE ${OUT}/resources.bin)
file(WRITE ${OUT}/resource_table.cpp
"// Generated from the files under resources/; do not edit.
#include \"base/packed_resources.h\"
#include \"base/resources.h\"

extern \"C\" const unsigned char velloria_packed[];
extern \"C\" const unsigned int velloria_packed_size;
alignas(16) static unsigned char velloria_unpacked[${offset}];

namespace velloria_resources_generated {
extern const EmbeddedResource kTable[];
extern const int kCount;
const EmbeddedResource kTable[] = {
${table}    {ResourceType::Bitmap, -1, nullptr, nullptr},
};
const int kCount = ${count};
}  // namespace velloria_resources_generated

PackedResources GetPackedResources() {
  return {{velloria_packed, velloria_packed_size}, {velloria_unpacked, sizeof(velloria_unpacked)}};
}
")
