# Compiles every file under a resources folder into the program.
#
# The folder names give the resource type: bitmaps/ (bitmap), waves/ (wave),
# scripts/ and maps/ (raw text). File names start with the numeric id:
# resources/scripts/164-get-ready.txt is raw text resource 164. The bytes are
# pulled in with the assembler's .incbin, so large files cost no build time.

# The type (Bitmap, Wave or Text) and id of a file under the resources
# folder, from its folder and name; the type is empty for any other file.
function(velloria_resource_kind dir path type_var id_var)
  file(RELATIVE_PATH rel ${dir} ${path})
  set(type "")
  if(rel MATCHES "^([a-z]+)/([0-9]+)-[^/]*$")
    if(CMAKE_MATCH_1 STREQUAL "bitmaps")
      set(type Bitmap)
    elseif(CMAKE_MATCH_1 STREQUAL "waves")
      set(type Wave)
    elseif(CMAKE_MATCH_1 STREQUAL "scripts" OR CMAKE_MATCH_1 STREQUAL "maps")
      set(type Text)
    endif()
  endif()
  set(${type_var} ${type} PARENT_SCOPE)
  set(${id_var} ${CMAKE_MATCH_2} PARENT_SCOPE)
endfunction()

# Names every resource for the code: resources/<kind>/<id>-<role>.<ext> gives
# the constant <namespace>::k<Role> = <id> in generated/resource_ids.h under
# the build folder, the role's words capitalised and joined, the namespace
# named after the kind (bitmap, wave, script, level_map): so
# bitmaps/225-boss3-snail.bmp is bitmap::kBoss3Snail. Written at configure
# time and only when it changes; adding a file re-runs CMake.
function(velloria_resource_ids target dir)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${dir}/*)
  list(SORT files COMPARE NATURAL)
  set(spaces bitmap wave script level_map)
  foreach(space ${spaces})
    set(body_${space} "")
  endforeach()
  set(names "")
  foreach(path ${files})
    file(RELATIVE_PATH rel ${dir} ${path})
    if(NOT rel MATCHES "^(bitmaps|waves|scripts|maps)/([0-9]+)-([^./]*)\\.[^/]*$")
      continue()
    endif()
    set(kind ${CMAKE_MATCH_1})
    set(id ${CMAKE_MATCH_2})
    set(role ${CMAKE_MATCH_3})
    if(NOT role MATCHES "^[a-z0-9]+(-[a-z0-9]+)*$")
      message(FATAL_ERROR "resources/${rel}: a role is words of small letters and digits joined by dashes")
    endif()
    set(space ${kind})
    string(REGEX REPLACE "s$" "" space ${space})
    if(space STREQUAL "map")
      set(space level_map)
    endif()
    string(REPLACE "-" ";" words ${role})
    set(name k)
    foreach(word ${words})
      string(SUBSTRING ${word} 0 1 first)
      string(TOUPPER ${first} first)
      string(SUBSTRING ${word} 1 -1 rest)
      string(APPEND name ${first}${rest})
    endforeach()
    if("${space}::${name}" IN_LIST names)
      message(FATAL_ERROR "resources/${rel}: ${space}::${name} names another file of its kind already")
    endif()
    list(APPEND names "${space}::${name}")
    string(APPEND body_${space} "constexpr int ${name} = ${id};\n")
  endforeach()
  set(text "// Generated from the file names under resources/; do not edit.\n#pragma once\n")
  foreach(space ${spaces})
    string(APPEND text "\nnamespace ${space} {\n${body_${space}}}  // namespace ${space}\n")
  endforeach()
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/generated)
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/resource_ids.h CONTENT "${text}" @ONLY)
  target_include_directories(${target} PUBLIC ${CMAKE_BINARY_DIR})
endfunction()

function(velloria_embed_resources target dir)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${dir}/*)
  list(SORT files)
  set(asm "")
  set(table "")
  set(count 0)
  foreach(path ${files})
    velloria_resource_kind(${dir} ${path} kind id)
    if(NOT kind)
      continue()
    endif()
    set(type "ResourceType::${kind}")
    set(sym "velloria_res_${count}")
    string(APPEND asm "    .global ${sym}_begin\n    .global ${sym}_end\n    .balign 16\n${sym}_begin:\n    .incbin \"${path}\"\n${sym}_end:\n    .byte 0\n")
    string(APPEND decls "extern \"C\" const unsigned char ${sym}_begin[];\nextern \"C\" const unsigned char ${sym}_end[];\n")
    string(APPEND table "    {${type}, ${id}, ${sym}_begin, ${sym}_end},\n")
    math(EXPR count "${count} + 1")
  endforeach()
  set(out ${CMAKE_BINARY_DIR}/generated)
  file(MAKE_DIRECTORY ${out})
  # ELF marks the stack as not executable; Windows' objects have no such note.
  set(stack_note "    .section .note.GNU-stack,\"\",@progbits\n")
  if(WIN32)
    set(stack_note "")
  endif()
  file(CONFIGURE OUTPUT ${out}/resource_data.S CONTENT "    .section .rodata\n${asm}${stack_note}" @ONLY)
  file(CONFIGURE OUTPUT ${out}/resource_table.cpp CONTENT
    "// Generated from the files under resources/; do not edit.\n#include \"base/resources.h\"\n\n${decls}\nnamespace velloria_resources_generated {\nextern const EmbeddedResource kTable[];\nextern const int kCount;\nconst EmbeddedResource kTable[] = {\n${table}    {ResourceType::Bitmap, -1, nullptr, nullptr},\n};\nconst int kCount = ${count};\n}  // namespace velloria_resources_generated\n" @ONLY)
  add_library(${target} STATIC ${out}/resource_data.S ${out}/resource_table.cpp)
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  # Reassemble when a resource's contents change.
  set_source_files_properties(${out}/resource_data.S PROPERTIES OBJECT_DEPENDS "${files}")
  velloria_resource_ids(${target} ${dir})
endfunction()

# The same resources for the browser build, where size counts: all files end
# to end in one gzip stream inside the program, unpacked by the platform into
# one buffer before anything looks for a resource. The stream and the table
# are made at build time (cmake/PackResources.cmake), so a changed file needs
# no re-run of CMake.
function(velloria_embed_packed_resources target dir)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${dir}/*)
  list(SORT files)
  set(entries "")
  set(inputs "")
  foreach(path ${files})
    velloria_resource_kind(${dir} ${path} type id)
    if(NOT type)
      continue()
    endif()
    string(APPEND entries "${type} ${id} ${path}\n")
    list(APPEND inputs ${path})
  endforeach()
  set(out ${CMAKE_BINARY_DIR}/generated)
  file(MAKE_DIRECTORY ${out})
  # One line per resource: type, id, path.
  file(CONFIGURE OUTPUT ${out}/resources.list CONTENT "${entries}" @ONLY)
  add_custom_command(
    OUTPUT ${out}/resources.gz ${out}/resource_table.cpp
    COMMAND ${CMAKE_COMMAND} -DLIST=${out}/resources.list -DOUT=${out} -P ${CMAKE_SOURCE_DIR}/cmake/PackResources.cmake
    DEPENDS ${inputs} ${out}/resources.list ${CMAKE_SOURCE_DIR}/cmake/PackResources.cmake
    COMMENT "Packing the resources"
    VERBATIM)
  # WebAssembly's assembler wants a size on every data symbol.
  file(CONFIGURE OUTPUT ${out}/resource_pack.S CONTENT
    "    .section .rodata.velloria_packed,\"\",@\n    .globl velloria_packed\n    .p2align 4\nvelloria_packed:\n    .incbin \"${out}/resources.gz\"\n.Lpacked_end:\n    .size velloria_packed, .Lpacked_end - velloria_packed\n    .section .rodata.velloria_packed_size,\"\",@\n    .globl velloria_packed_size\n    .p2align 2\nvelloria_packed_size:\n    .int .Lpacked_end - velloria_packed\n    .size velloria_packed_size, 4\n" @ONLY)
  add_library(${target} STATIC ${out}/resource_pack.S ${out}/resource_table.cpp)
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  set_source_files_properties(${out}/resource_pack.S PROPERTIES OBJECT_DEPENDS ${out}/resources.gz)
  velloria_resource_ids(${target} ${dir})
endfunction()
