# tinygltf and nlohmann/json for the WebAssembly build: Debian's header-only copies, copied
# into the build so that the compiler never searches /usr/include (whose C library headers
# are the machine's, not Emscripten's). vorel_gltf finds both through nlohmann_json's target.
set(VOREL_WEB_HEADERS ${CMAKE_BINARY_DIR}/header_only)
file(COPY /usr/include/tiny_gltf.h /usr/include/nlohmann DESTINATION ${VOREL_WEB_HEADERS})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${VOREL_WEB_HEADERS})
