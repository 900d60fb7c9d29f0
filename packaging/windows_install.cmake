# Install rules of the Windows tree, the contents of the zip archive: every plug-in format at
# the top level, a README.txt saying where each goes, the licence, and the notices of the
# libraries compiled into the DLLs. Nothing needs an installer; the Windows test tools stay
# out.

install(TARGETS velmora LIBRARY DESTINATION . COMPONENT plugins)
# README.txt names only the formats this archive holds, each with the folder it goes into.
set(velmora_formats_text
"  velmora.dll     the VST 2 plug-in, for every 64-bit VST 2 host. Copy it into a folder
                  your host scans for VST 2 plug-ins, for example
                  C:\\Program Files\\VSTPlugins or C:\\Program Files\\Common Files\\VST2
                  (most hosts let you add a folder of your own in their plug-in settings).")
if(TARGET velmora_vst3)
  # The bundle as the build assembled it, module included (it is a folder on Windows too).
  install(DIRECTORY ${VELMORA_VST3_BUNDLE_DIR} DESTINATION . COMPONENT plugins)
  string(APPEND velmora_formats_text "
  Velmora.vst3\\   the VST 3 plug-in, a folder. Copy the whole folder into
                  C:\\Program Files\\Common Files\\VST3, where every VST 3 host finds it.")
endif()
if(TARGET velmora_clap)
  install(TARGETS velmora_clap LIBRARY DESTINATION . COMPONENT plugins)
  string(APPEND velmora_formats_text "
  Velmora.clap    the CLAP plug-in. Copy it into C:\\Program Files\\Common Files\\CLAP,
                  where every CLAP host finds it.")
endif()

# configure_file converts the template's own line ends, not those of substituted text.
string(REPLACE "\n" "\r\n" velmora_formats_text "${velmora_formats_text}")
configure_file(windows/README.txt.in ${CMAKE_CURRENT_BINARY_DIR}/README.txt @ONLY
               NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt @ONLY
               NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt
        DESTINATION . COMPONENT docs)

# libpng and zlib are compiled into velmora.dll from Debian's sources, and the mingw-w64
# runtime (winpthreads) is linked in statically; their notices travel with it.
file(GLOB velmora_notice_sources "${VELMORA_DEPS_SOURCE_DIR}/libpng1.6-*/LICENSE"
     "${VELMORA_DEPS_SOURCE_DIR}/zlib-*/LICENSE")
foreach(notice ${velmora_notice_sources})
  get_filename_component(library_dir ${notice} DIRECTORY)
  get_filename_component(library ${library_dir} NAME)
  string(REGEX REPLACE "^(libpng|zlib).*" "\\1" library ${library})
  install(FILES ${notice} DESTINATION notices RENAME ${library}-LICENSE.txt COMPONENT docs)
endforeach()
set(velmora_mingw_copyright /usr/share/doc/mingw-w64-common/copyright)
if(EXISTS ${velmora_mingw_copyright})
  install(FILES ${velmora_mingw_copyright} DESTINATION notices
          RENAME mingw-w64-runtime-copyright.txt COMPONENT docs)
endif()
