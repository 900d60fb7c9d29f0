#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>
#include <mutex>

#include "graphics/linux/font_lookup.h"
#include "graphics/platform_font.h"
#include "resources/embedded_resources.h"

namespace velmora {
namespace {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
// Slant of the synthetic oblique used when a face has no italic: about 11 degrees.
constexpr double kObliqueShear = 0.2;
// Stroke added by synthetic bold, as a share of the cell height.
constexpr double kEmboldenShare = 1.0 / 24.0;

// FreeType's library object is not thread-safe for creating and freeing faces, so both happen
// under this lock.
std::mutex& LibraryLock() {
  static std::mutex lock;
  return lock;
}

// The library lives while any face does: the last face to close frees it, so a host that
// unloads the module (the font cache closes its faces then) gets all of FreeType's memory
// back, and a later load starts afresh. Touched only under LibraryLock.
struct SharedLibrary {
  FT_Library library = nullptr;
  int openFaces = 0;
};

SharedLibrary& Shared() {
  static SharedLibrary shared;
  return shared;
}

FT_Library Library() {
  SharedLibrary& shared = Shared();
  if (shared.library == nullptr && FT_Init_FreeType(&shared.library) != 0) {
    shared.library = nullptr;
  }
  return shared.library;
}

void FaceOpened() {
  ++Shared().openFaces;
}

void ReleaseLibraryIfUnused() {
  SharedLibrary& shared = Shared();
  if (shared.openFaces == 0 && shared.library != nullptr) {
    FT_Done_FreeType(shared.library);
    shared.library = nullptr;
  }
}

void CloseFace(FT_Face face) {
  FT_Done_Face(face);
  --Shared().openFaces;
  ReleaseLibraryIfUnused();
}

FT_Fixed ToFixed(double value) {
  return static_cast<FT_Fixed>(std::lround(value * 65536.0));
}

class FreeTypeFont final : public PlatformFont {
 public:
  FreeTypeFont(FT_Face face, const FontRequest& request, bool synthBold, bool synthItalic)
      : face_(face),
        synthBold_(synthBold),
        mono_(request.quality == 1),
        orientation_(request.orientation) {
    const double angle = request.orientation * kRadiansPerDegree;
    const double c = std::cos(angle), s = std::sin(angle);
    const double shear = synthItalic ? kObliqueShear : 0.0;
    // Rotation (counter-clockwise, FreeType's y points up) after the oblique shear.
    FT_Matrix matrix{ToFixed(c), ToFixed(c * shear - s), ToFixed(s), ToFixed(s * shear + c)};
    FT_Set_Transform(face_, &matrix, nullptr);
    transformed_ = request.orientation != 0 || synthItalic;
    lineHeight_ = request.size;
    const double units = static_cast<double>(face_->ascender - face_->descender);
    ascent_ = units > 0 ? static_cast<int32_t>(std::lround(request.size * face_->ascender / units))
                        : request.size;
    embolden_ = static_cast<FT_Pos>(std::lround(request.size * kEmboldenShare * 64.0));
  }
  ~FreeTypeFont() override {
    std::lock_guard<std::mutex> guard(LibraryLock());
    CloseFace(face_);
  }

  int32_t LineHeight() const override { return lineHeight_; }
  int32_t Ascent() const override { return ascent_; }
  int32_t Orientation() const override { return orientation_; }

  bool RenderGlyph(uint32_t codePoint, GlyphImage& out) override {
    // Hinting would fight the transform; upright text keeps it for crisp small captions.
    FT_Int32 load = transformed_ ? FT_LOAD_NO_HINTING : FT_LOAD_TARGET_LIGHT;
    if (mono_) {
      load = FT_LOAD_TARGET_MONO;
    }
    if (FT_Load_Char(face_, codePoint, load | FT_LOAD_NO_BITMAP) != 0) {
      return false;
    }
    FT_GlyphSlot slot = face_->glyph;
    if (synthBold_ && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
      FT_Outline_Embolden(&slot->outline, embolden_);
      slot->advance.x += embolden_;
    }
    if (FT_Render_Glyph(slot, mono_ ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) {
      return false;
    }
    CopyCoverage(slot->bitmap, out);
    out.left = slot->bitmap_left;
    out.top = slot->bitmap_top;
    out.advanceX = static_cast<int32_t>(slot->advance.x);
    out.advanceY = static_cast<int32_t>(-slot->advance.y);
    return true;
  }

 private:
  static void CopyCoverage(const FT_Bitmap& bitmap, GlyphImage& out) {
    out.width = static_cast<int32_t>(bitmap.width);
    out.height = static_cast<int32_t>(bitmap.rows);
    out.coverage.assign(static_cast<size_t>(out.width) * out.height, 0);
    for (int32_t y = 0; y < out.height; ++y) {
      const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
      for (int32_t x = 0; x < out.width; ++x) {
        const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
        const uint8_t value = mono ? ((row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0) : row[x];
        out.coverage[static_cast<size_t>(y) * out.width + x] = value;
      }
    }
  }

  FT_Face face_;
  bool synthBold_;
  bool mono_;
  int32_t orientation_;
  bool transformed_ = false;
  int32_t lineHeight_ = 0;
  int32_t ascent_ = 0;
  FT_Pos embolden_ = 0;
};

// Opens the face fontconfig suggests, or the font linked into the module when there is
// none or it cannot be opened. Sized so that ascent + descent equals the cell height.
FT_Face OpenFace(const FontRequest& request, bool& isBold, bool& isItalic) {
  std::lock_guard<std::mutex> guard(LibraryLock());
  FT_Library library = Library();
  if (library == nullptr) {
    return nullptr;
  }
  FT_Face face = nullptr;
  linux_fonts::FontFile file;
  const bool bold = (request.style & 1) != 0, italic = (request.style & 2) != 0;
  if (linux_fonts::FindFontFile(request.face, bold, italic, file) &&
      FT_New_Face(library, file.path.c_str(), file.index, &face) == 0) {
    isBold = file.bold;
    isItalic = file.italic;
  } else {
    const resources::EmbeddedBytes font = resources::EmbeddedFallbackFont();
    if (FT_New_Memory_Face(library, font.data, static_cast<FT_Long>(font.size), 0, &face) != 0) {
      ReleaseLibraryIfUnused();
      return nullptr;
    }
    isBold = isItalic = false;
  }
  FT_Size_RequestRec size{FT_SIZE_REQUEST_TYPE_CELL, 0, request.size * 64, 0, 0};
  FaceOpened();
  if (!FT_IS_SCALABLE(face) || FT_Request_Size(face, &size) != 0) {
    CloseFace(face);
    return nullptr;
  }
  return face;
}

}  // namespace

std::unique_ptr<PlatformFont> CreatePlatformFont(const FontRequest& request) {
  if (request.size <= 0 || request.face == nullptr) {
    return nullptr;
  }
  bool isBold = false, isItalic = false;
  FT_Face face = OpenFace(request, isBold, isItalic);
  if (face == nullptr) {
    return nullptr;
  }
  const bool synthBold = (request.style & 1) != 0 && !isBold;
  const bool synthItalic = (request.style & 2) != 0 && !isItalic;
  return std::make_unique<FreeTypeFont>(face, request, synthBold, synthItalic);
}

}  // namespace velmora
