#include <fontconfig/fontconfig.h>

#include <mutex>

#include "graphics/linux/font_lookup.h"

namespace velmora::linux_fonts {

bool FindFontFile(const char* face, bool bold, bool italic, FontFile& out) {
  // fontconfig's default configuration is shared process state; load it once, in one place.
  static std::mutex lock;
  std::lock_guard<std::mutex> guard(lock);
  if (!FcInit()) {
    return false;
  }
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) {
    return false;
  }
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) {
    return false;
  }
  FcChar8* file = nullptr;
  int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
  FcBool scalable = FcFalse;
  const bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
                     FcPatternGetBool(match, FC_SCALABLE, 0, &scalable) == FcResultMatch &&
                     scalable;
  if (found) {
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &slant);
    out.path = reinterpret_cast<const char*>(file);
    out.index = index;
    out.bold = weight >= FC_WEIGHT_DEMIBOLD;
    out.italic = slant != FC_SLANT_ROMAN;
  }
  FcPatternDestroy(match);
  return found;
}

}  // namespace velmora::linux_fonts
