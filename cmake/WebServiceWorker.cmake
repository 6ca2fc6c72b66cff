# Build step of the web page: writes site/sw.js from its template, naming
# the build by a digest of every file the page serves (so a change to any
# of them is a new build) and listing them for the worker to keep.
#   -DSITE=folder -DTEMPLATE=sw.js.in
file(GLOB files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(digests "")
set(VELLORIA_FILES "'./'")
foreach(name ${files})
  file(SHA256 ${SITE}/${name} digest)
  string(APPEND digests "${name} ${digest}\n")
  string(APPEND VELLORIA_FILES ", '${name}'")
endforeach()
string(SHA256 build "${digests}")
string(SUBSTRING ${build} 0 16 VELLORIA_BUILD)
# configure_file leaves the file alone when nothing changed.
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
