# Install rules of the Linux tree. With --prefix /usr every format lands where Linux hosts
# look for it (lib/vst, lib/lv2, lib/vst3, lib/clap) and the tools in bin/. Libraries go to
# plain lib/ on purpose: hosts search these fixed folders, not the multiarch one.
# Components: plugins (all that scripts/install-user.sh copies), tools, docs.

install(TARGETS velmora LIBRARY DESTINATION lib/vst COMPONENT plugins)

# The LV2 modules go through their targets, so a stripping install strips them; the Turtle
# files are generated next to them in the build's bundle.
install(TARGETS velmora_lv2 velmora_lv2_ui LIBRARY DESTINATION lib/lv2/velmora.lv2
        COMPONENT plugins)
install(FILES ${VELMORA_LV2_BUNDLE_DIR}/manifest.ttl ${VELMORA_LV2_BUNDLE_DIR}/velmora.ttl
              ${VELMORA_LV2_BUNDLE_DIR}/presets.ttl
        DESTINATION lib/lv2/velmora.lv2 COMPONENT plugins)

if(TARGET velmora_vst3)
  # The bundle as the build assembled it, except its module, which comes from the target.
  install(DIRECTORY ${VELMORA_VST3_BUNDLE_DIR} DESTINATION lib/vst3 COMPONENT plugins
          PATTERN "*.so" EXCLUDE)
  install(TARGETS velmora_vst3 LIBRARY DESTINATION lib/vst3/Velmora.vst3/Contents/x86_64-linux
          COMPONENT plugins)
endif()
if(TARGET velmora_clap)
  install(TARGETS velmora_clap LIBRARY DESTINATION lib/clap COMPONENT plugins)
endif()

install(TARGETS velmora-render velmora-validate velmora-snapshot RUNTIME DESTINATION bin
        COMPONENT tools)

# Manual pages and the changelog are installed compressed with gzip -9n, as Debian's policy
# asks; -n keeps the archives identical from build to build.
set(velmora_man_pages velmora-render velmora-validate velmora-snapshot)
set(velmora_compressed)
foreach(page ${velmora_man_pages})
  # The pages carry the project's version.
  set(source ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.1)
  configure_file(${PROJECT_SOURCE_DIR}/docs/man/${page}.1.in ${source} @ONLY)
  set(compressed ${source}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND gzip -9n -c ${source} > ${compressed}
    DEPENDS ${source} VERBATIM)
  list(APPEND velmora_compressed ${compressed})
  install(FILES ${compressed} DESTINATION share/man/man1 COMPONENT tools)
endforeach()

set(velmora_changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${velmora_changelog}
  COMMAND gzip -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog > ${velmora_changelog}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog VERBATIM)
list(APPEND velmora_compressed ${velmora_changelog})
add_custom_target(velmora_compressed_docs ALL DEPENDS ${velmora_compressed})
add_dependencies(velmora_products velmora_compressed_docs)

# The copyright file in Debian's machine-readable format, with the licence from LICENSE.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE velmora_license)
string(STRIP "${velmora_license}" velmora_license)
string(REGEX REPLACE "\n\n" "\n.\n" velmora_license "${velmora_license}")
string(REGEX REPLACE "\n" "\n " velmora_license_text "${velmora_license}")
configure_file(debian/copyright.in ${CMAKE_CURRENT_BINARY_DIR}/copyright @ONLY)

set(velmora_doc_dir share/doc/velmora)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright ${velmora_changelog}
              ${PROJECT_SOURCE_DIR}/docs/guide.md ${PROJECT_SOURCE_DIR}/docs/editor.png
        DESTINATION ${velmora_doc_dir} COMPONENT docs)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/debian/lintian-overrides DESTINATION share/lintian/overrides
        RENAME velmora COMPONENT docs)
