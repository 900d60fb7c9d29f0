#pragma once

#include <string>

namespace velmora::linux_fonts {

// A font file chosen for a face name and style, with what it really offers.
struct FontFile {
  std::string path;
  int index = 0;
  bool bold = false;    // the face itself is bold
  bool italic = false;  // the face itself is italic or oblique
};

// Asks fontconfig for the installed face that best stands in for the named one ("Arial"
// resolves to a metric-compatible face where one is installed). False when fontconfig
// offers nothing.
bool FindFontFile(const char* face, bool bold, bool italic, FontFile& out);

}  // namespace velmora::linux_fonts
