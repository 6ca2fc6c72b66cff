# The browser build (configured with emcmake): the web platform in
# platform/web/ over the same core, linked into velloria.js and velloria.wasm,
# and the page around them, all in site/ ready to be served as it is, from
# any folder of a server.
set(site ${CMAKE_BINARY_DIR}/site)
file(GLOB WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/web/*.cpp)
add_executable(velloria ${WEB_SOURCES})
target_link_libraries(velloria PRIVATE velloria_shell velloria_drivers)
set_target_properties(velloria PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${site})
target_link_options(velloria PRIVATE
  -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1
  -sEXPORTED_FUNCTIONS=_main,_malloc,_free
  -sEXPORTED_RUNTIME_METHODS=FS,UTF8ToString,ccall)

# The page's own files, its icons, and the pre-rendered tunes when there are any.
file(GLOB PAGE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/web/site/*)
file(GLOB TUNES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/music/*.ogg)
set(ICONS ${CMAKE_SOURCE_DIR}/resources/icons/velloria-192.png ${CMAKE_SOURCE_DIR}/resources/icons/velloria-512.png
          ${CMAKE_SOURCE_DIR}/resources/icons/velloria-maskable-512.png ${CMAKE_SOURCE_DIR}/resources/icons/velloria.svg)
foreach(file ${PAGE_FILES} ${TUNES} ${ICONS})
  get_filename_component(name ${file} NAME)
  configure_file(${file} ${site}/${name} COPYONLY)
endforeach()

# The service worker names the build by what the page serves, so it is
# written after everything else, at every build.
add_custom_target(velloria_service_worker ALL
  COMMAND ${CMAKE_COMMAND} -DSITE=${site} -DTEMPLATE=${CMAKE_SOURCE_DIR}/platform/web/sw.js.in
          -P ${CMAKE_SOURCE_DIR}/cmake/WebServiceWorker.cmake
  VERBATIM)
add_dependencies(velloria_service_worker velloria)
