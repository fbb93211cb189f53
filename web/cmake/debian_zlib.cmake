# zlib for the WebAssembly build, standing in for the machine's ZLIB::ZLIB: Debian's own zlib
# sources (scripts/install-deps web fetches them with apt-get source), compiled by emcc. Only
# what inflate needs; the FBX reader inflates and never deflates. Emscripten's zlib port is not
# used because it downloads its sources at build time from outside Debian's archive.
set(VOREL_ZLIB_SOURCE ${VOREL_ROOT}/build/debian-source/zlib
    CACHE PATH "Debian's zlib sources, unpacked (scripts/install-deps web puts them here)")
if(NOT EXISTS ${VOREL_ZLIB_SOURCE}/inflate.c)
  message(FATAL_ERROR "${VOREL_ZLIB_SOURCE}: no zlib sources; scripts/install-deps web fetches them")
endif()
enable_language(C)
add_library(vorel_debian_zlib STATIC
  ${VOREL_ZLIB_SOURCE}/adler32.c
  ${VOREL_ZLIB_SOURCE}/crc32.c
  ${VOREL_ZLIB_SOURCE}/inffast.c
  ${VOREL_ZLIB_SOURCE}/inflate.c
  ${VOREL_ZLIB_SOURCE}/inftrees.c
  ${VOREL_ZLIB_SOURCE}/zutil.c
)
target_include_directories(vorel_debian_zlib SYSTEM INTERFACE ${VOREL_ZLIB_SOURCE})
target_include_directories(vorel_debian_zlib PRIVATE ${VOREL_ZLIB_SOURCE})
# Third-party code, compiled as its authors ship it: the project's warnings are not its own,
# and each file on its own (its internal headers have no include guards, so a batch fails).
target_compile_options(vorel_debian_zlib PRIVATE -w)
set_target_properties(vorel_debian_zlib PROPERTIES UNITY_BUILD OFF)
add_library(ZLIB::ZLIB ALIAS vorel_debian_zlib)
