# The browser build (configured with emcmake): the web platform in
# platform/web/ over the same core, linked into velloria.js and velloria.wasm,
# and the page around them, all in site/ ready to be served as it is.
set(site ${CMAKE_BINARY_DIR}/site)
file(GLOB WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/web/*.cpp)
add_executable(velloria ${WEB_SOURCES})
target_link_libraries(velloria PRIVATE velloria_core velloria_drivers)
set_target_properties(velloria PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${site})
target_link_options(velloria PRIVATE
  -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1
  -sEXPORTED_FUNCTIONS=_main,_malloc,_free
  -sEXPORTED_RUNTIME_METHODS=FS,UTF8ToString)

# The page's own files, and the pre-rendered tunes when there are any.
file(GLOB PAGE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/web/site/*)
file(GLOB TUNES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/music/*.ogg)
foreach(file ${PAGE_FILES} ${TUNES})
  get_filename_component(name ${file} NAME)
  configure_file(${file} ${site}/${name} COPYONLY)
endforeach()
