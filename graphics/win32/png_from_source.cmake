# Debian has no mingw-w64 build of libpng and zlib: scripts/install-deps.sh fetches their
# Debian source packages into a cache, and they are compiled here into the Windows tree.
# scripts/build.sh passes the folder scripts/deps-cache-dir.sh names.
set(VELMORA_DEPS_SOURCE_DIR "" CACHE PATH
    "Debian source packages of libpng and zlib for the Windows tree")
file(GLOB zlib_dir LIST_DIRECTORIES true "${VELMORA_DEPS_SOURCE_DIR}/zlib-*")
file(GLOB libpng_dir LIST_DIRECTORIES true "${VELMORA_DEPS_SOURCE_DIR}/libpng1.6-*")
list(FILTER zlib_dir EXCLUDE REGEX "\\.(tar|dsc)")
list(FILTER libpng_dir EXCLUDE REGEX "\\.(tar|dsc)")
if(NOT zlib_dir OR NOT libpng_dir)
  message(FATAL_ERROR "libpng/zlib sources missing in ${VELMORA_DEPS_SOURCE_DIR}: "
                      "run scripts/install-deps.sh")
endif()
list(GET zlib_dir 0 zlib_dir)
list(GET libpng_dir 0 libpng_dir)

set(zlib_sources adler32 compress crc32 deflate infback inffast inflate inftrees trees uncompr
    zutil)
list(TRANSFORM zlib_sources PREPEND "${zlib_dir}/")
list(TRANSFORM zlib_sources APPEND ".c")
add_library(velmora_zlib STATIC ${zlib_sources})
target_include_directories(velmora_zlib SYSTEM PUBLIC ${zlib_dir})
# Foreign code: its warnings are not ours to fix.
target_compile_options(velmora_zlib PRIVATE -w)

set(libpng_config_dir ${CMAKE_CURRENT_BINARY_DIR}/libpng)
configure_file(${libpng_dir}/scripts/pnglibconf.h.prebuilt ${libpng_config_dir}/pnglibconf.h
               COPYONLY)
set(libpng_sources png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset
    pngtrans pngwio pngwrite pngwtran pngwutil)
list(TRANSFORM libpng_sources PREPEND "${libpng_dir}/")
list(TRANSFORM libpng_sources APPEND ".c")
add_library(velmora_libpng STATIC ${libpng_sources})
target_include_directories(velmora_libpng SYSTEM PUBLIC ${libpng_dir} ${libpng_config_dir})
target_compile_definitions(velmora_libpng PRIVATE PNG_ARM_NEON_OPT=0 PNG_POWERPC_VSX_OPT=0)
target_compile_options(velmora_libpng PRIVATE -w)
target_link_libraries(velmora_libpng PUBLIC velmora_zlib)
