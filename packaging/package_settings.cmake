# CPack settings: the Debian package from the Linux tree, the zip archive from the Windows
# tree. Both take the version from the project (plugin/velmora_version.h) and are written
# to <tree>/packages/.
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR Tolvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tempo-synchronised stereo ping-pong delay plug-in")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
# Directories the package creates are 0755 whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME velmora-${PROJECT_VERSION}-windows-x64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tolvane <velmora@tolvane.example>")
  set(CPACK_DEBIAN_PACKAGE_SECTION sound)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://tolvane.example/velmora)
  # Dependencies come from the libraries the modules and tools link against.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The editor asks for Verdana and Arial; fontconfig maps them to these.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, fonts-liberation")
  # The extended description; Debian puts the summary above it and shows lines that start
  # with a space as they are.
  set(velmora_formats " /usr/lib/vst/velmora.so        VST 2
 /usr/lib/lv2/velmora.lv2/      LV2, with its editor as an X11 UI")
  if(TARGET velmora_vst3)
    string(APPEND velmora_formats "\n /usr/lib/vst3/Velmora.vst3/    VST 3")
  endif()
  if(TARGET velmora_clap)
    string(APPEND velmora_formats "\n /usr/lib/clap/Velmora.clap     CLAP")
  endif()
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Velmora is a stereo delay whose echoes follow the host's tempo and bounce
between the left and the right channel in one of five ping-pong patterns.
Each side has its own resonant low-pass or high-pass filter, swept by a
tempo-synchronised oscillator that can also move the pan width, the feedback
or the mix. An automatic bypass passes the input through untouched after a
stretch of silence.
.
The plug-ins, the same effect in every format:
${velmora_formats}
.
The tools: velmora-render renders audio files through the effect,
velmora-validate checks a VST 2 plug-in the way a demanding host would, and
velmora-snapshot draws the editor.")
endif()

include(CPack)
