#include "graphics/win32/gdi_font.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "graphics/pixel_image.h"
#include "graphics/utf8.h"
#include "graphics/win32/dib_pixel_memory.h"
#include "graphics/win32/wide_text.h"
#include "graphics/win32/wine_detection.h"

namespace velmora {
namespace {

constexpr int32_t kInitialGlyphSurface = 256;
constexpr uint32_t kOpaqueBlack = 0xFF000000u;
constexpr COLORREF kWhite = RGB(255, 255, 255);
// The DrawText flags a request may carry through to GDI.
constexpr uint32_t kDrawTextFlags = DT_CENTER | DT_RIGHT | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX;
constexpr int32_t kOpaqueBackground = 2;

// The glyph-rendering surface and the scratch surface of the direct renderer, shared by
// every font and deleted with the last one. Deliberately never destroyed itself: fonts in
// the process-wide cache are deleted at unload, after ordinary statics may be gone.
struct SharedSurfaces {
  std::mutex lock;
  int liveFonts = 0;
  std::unique_ptr<PixelImage> glyphs;
  std::unique_ptr<PixelImage> scratch;
};

SharedSurfaces& Shared() {
  static auto* shared = new SharedSurfaces;
  return *shared;
}

// A DIB-backed image of at least width x height; false when GDI cannot provide one.
bool EnsureSurface(std::unique_ptr<PixelImage>& image, int32_t width, int32_t height) {
  if (!image) {
    std::unique_ptr<PixelMemory> memory = MakeDibPixelMemory();
    if (!memory) {
      return false;
    }
    image = std::make_unique<PixelImage>(std::move(memory));
  }
  if (image->Width() >= width && image->Height() >= height) {
    return true;
  }
  return image->Resize(std::max(width, image->Width()), std::max(height, image->Height()));
}

HDC ContextOf(PixelImage& image) {
  return static_cast<HDC>(image.Memory().NativeContext());
}

COLORREF ColourRef(uint32_t packed) {
  return RGB((packed >> 16) & 0xFF, (packed >> 8) & 0xFF, packed & 0xFF);
}

int QualityFor(int32_t quality) {
  switch (quality) {
    case 1:
      return NONANTIALIASED_QUALITY;
    case 2:
      return ANTIALIASED_QUALITY;
    case 3:
      return CLEARTYPE_QUALITY;
    default:
      return DEFAULT_QUALITY;
  }
}

// One code point as UTF-16: one unit, or a surrogate pair above the basic plane.
int ToUtf16(uint32_t codePoint, wchar_t* out) {
  if (codePoint < 0x10000) {
    out[0] = static_cast<wchar_t>(codePoint);
    return 1;
  }
  const uint32_t value = codePoint - 0x10000;
  out[0] = static_cast<wchar_t>(0xD800 + (value >> 10));
  out[1] = static_cast<wchar_t>(0xDC00 + (value & 0x3FF));
  return 2;
}

// GDI text calls take 8-bit text unless the text really is UTF-8 beyond ASCII.
int DrawAnyText(HDC dc, const char* text, RECT* rc, UINT flags) {
  if (!HasMultiByteSequence(text)) {
    return DrawTextA(dc, text, -1, rc, flags);
  }
  const WideText wide(text);
  return DrawTextW(dc, wide.Data(), wide.Length(), rc, flags);
}

}  // namespace

std::unique_ptr<GdiFont> GdiFont::Create(const FontRequest& request) {
  const int escapement = request.orientation * 10;
  HFONT font = CreateFontA(
      request.size, 0, escapement, escapement, (request.style & 1) != 0 ? FW_BOLD : FW_NORMAL,
      (request.style & 2) != 0 ? TRUE : FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS,
      CLIP_DEFAULT_PRECIS, static_cast<DWORD>(QualityFor(request.quality)), 0, request.face);
  if (font == nullptr) {
    return nullptr;
  }
  return std::unique_ptr<GdiFont>(new GdiFont(font, request.orientation));
}

GdiFont::GdiFont(HFONT font, int32_t orientation) : font_(font), orientation_(orientation) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc != nullptr) {
    HGDIOBJ previous = SelectObject(dc, font_);
    TEXTMETRICA metrics{};
    if (GetTextMetricsA(dc, &metrics)) {
      lineHeight_ = metrics.tmHeight;
      ascent_ = metrics.tmAscent;
    }
    SelectObject(dc, previous);
    DeleteDC(dc);
  }
  SharedSurfaces& shared = Shared();
  std::lock_guard<std::mutex> guard(shared.lock);
  ++shared.liveFonts;
}

GdiFont::~GdiFont() {
  DeleteObject(font_);
  SharedSurfaces& shared = Shared();
  std::lock_guard<std::mutex> guard(shared.lock);
  if (--shared.liveFonts == 0) {
    shared.glyphs.reset();
    shared.scratch.reset();
  }
}

bool GdiFont::PrefersDirectRenderer() const {
  return !RunningUnderWine();
}

bool GdiFont::RenderGlyph(uint32_t codePoint, GlyphImage& out) {
  if (lineHeight_ < 1) {
    return false;
  }
  wchar_t units[2];
  const int count = ToUtf16(codePoint, units);
  SharedSurfaces& shared = Shared();
  std::lock_guard<std::mutex> guard(shared.lock);
  const int32_t side = 2 * lineHeight_ + 8;
  if (!EnsureSurface(shared.glyphs, std::max(kInitialGlyphSurface, side),
                     std::max(kInitialGlyphSurface, side))) {
    return false;
  }
  HDC dc = ContextOf(*shared.glyphs);
  HGDIOBJ previous = SelectObject(dc, font_);
  RECT measured{0, 0, 0, 0};
  DrawTextW(dc, units, count, &measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  const int32_t advance = measured.right - measured.left;
  const int32_t pad = lineHeight_ >= 16 ? lineHeight_ / 16 : 0;
  const int32_t boxWidth = advance + 2 * pad + 4;
  // Growing keeps the device context (and the font selected into it).
  if (advance < 1 || !EnsureSurface(shared.glyphs, boxWidth, lineHeight_)) {
    SelectObject(dc, previous);
    return false;
  }
  PixelImage& surface = *shared.glyphs;
  for (int32_t y = 0; y < lineHeight_; ++y) {
    std::fill(surface.Row(y), surface.Row(y) + boxWidth, kOpaqueBlack);
  }
  SetTextColor(dc, kWhite);
  SetBkMode(dc, TRANSPARENT);
  RECT box{pad + 2, 0, boxWidth, lineHeight_};
  DrawTextW(dc, units, count, &box, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  GdiFlush();
  SelectObject(dc, previous);

  out.width = boxWidth;
  out.height = lineHeight_;
  out.left = -(pad + 2);
  out.top = ascent_;
  out.advanceX = advance * 64;
  out.advanceY = 0;
  out.coverage.resize(static_cast<size_t>(boxWidth) * static_cast<size_t>(lineHeight_));
  for (int32_t y = 0; y < lineHeight_; ++y) {
    const uint32_t* row = surface.Row(y);
    uint8_t* mask = out.coverage.data() + static_cast<size_t>(y) * boxWidth;
    for (int32_t x = 0; x < boxWidth; ++x) {
      mask[x] = static_cast<uint8_t>((row[x] >> 16) & 0xFF);
    }
  }
  return true;
}

void GdiFont::DrawInto(HDC dc, const char* text, RECT rc, const DirectTextRequest& request) const {
  HGDIOBJ previous = SelectObject(dc, font_);
  SetTextColor(dc, ColourRef(request.textColour));
  const bool opaque = request.backgroundMode == kOpaqueBackground;
  SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
  if (opaque && request.backgroundColour != -1) {
    SetBkColor(dc, ColourRef(static_cast<uint32_t>(request.backgroundColour)));
  }
  DrawAnyText(dc, text, &rc, (request.drawFlags & kDrawTextFlags) | DT_NOPREFIX);
  GdiFlush();
  SelectObject(dc, previous);
}

SIZE GdiFont::Measure(HDC dc, const char* text, uint32_t drawFlags) const {
  HGDIOBJ previous = SelectObject(dc, font_);
  RECT measured{0, 0, 0, 0};
  DrawAnyText(dc, text, &measured, (drawFlags & kDrawTextFlags) | DT_NOPREFIX | DT_CALCRECT);
  SelectObject(dc, previous);
  return SIZE{measured.right - measured.left, measured.bottom - measured.top};
}

void GdiFont::DrawDirect(PixelImage& image, const char* text, const Rect& r,
                         const DirectTextRequest& request) {
  if (text == nullptr || *text == '\0') {
    return;
  }
  if (HDC dc = ContextOf(image)) {
    DrawInto(dc, text, RECT{r.left, r.top, r.right, r.bottom}, request);
    return;
  }
  DrawThroughScratch(image, text, r, request);
}

// The image's pixels around the text are copied into the scratch surface, drawn on there
// and copied back, so the result is what drawing into the image itself would give.
void GdiFont::DrawThroughScratch(PixelImage& image, const char* text, const Rect& r,
                                 const DirectTextRequest& request) {
  SharedSurfaces& shared = Shared();
  std::lock_guard<std::mutex> guard(shared.lock);
  if (!EnsureSurface(shared.scratch, 1, 1)) {
    return;
  }
  const SIZE measured = Measure(ContextOf(*shared.scratch), text, request.drawFlags);
  const auto width = static_cast<int32_t>(measured.cx);
  const auto height = static_cast<int32_t>(measured.cy);
  int32_t x = r.left;
  if ((request.drawFlags & DT_CENTER) != 0) {
    x = (r.left + r.right - width) / 2;
  } else if ((request.drawFlags & DT_RIGHT) != 0) {
    x = r.right - width;
  }
  // Room for overhangs (italics, accents) around the measured box.
  const int32_t margin = lineHeight_ / 2 + 2;
  const int32_t left = std::max(0, std::min(x, r.left) - margin);
  const int32_t top = std::max(0, r.top - margin);
  const int32_t right = std::min(image.Width(), std::max(x + width, r.right) + margin);
  const int32_t bottom = std::min(image.Height(), r.top + height + margin);
  if (right <= left || bottom <= top ||
      !EnsureSurface(shared.scratch, right - left, bottom - top)) {
    return;
  }
  PixelImage& scratch = *shared.scratch;
  for (int32_t y = top; y < bottom; ++y) {
    std::memcpy(scratch.Row(y - top), image.Row(y) + left, sizeof(uint32_t) * (right - left));
  }
  DrawInto(ContextOf(scratch), text,
           RECT{r.left - left, r.top - top, r.right - left, r.bottom - top}, request);
  for (int32_t y = top; y < bottom; ++y) {
    std::memcpy(image.Row(y) + left, scratch.Row(y - top), sizeof(uint32_t) * (right - left));
  }
}

}  // namespace velmora
