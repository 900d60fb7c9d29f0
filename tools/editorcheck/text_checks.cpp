// GDI text: the Wine test and the renderer it selects, the platform renderer's own rules
// (ampersands, UTF-8, drawing without a device context), and the web-address filter.
#include <cstring>
#include <memory>
#include <string>

#include "editor/web_address.h"
#include "editor/win32/win32_editor_window.h"
#include "graphics/cached_font.h"
#include "graphics/editor_canvas.h"
#include "graphics/pixel_image.h"
#include "graphics/utf8.h"
#include "graphics/win32/dib_pixel_memory.h"
#include "graphics/win32/gdi_font.h"
#include "graphics/win32/wide_text.h"
#include "graphics/win32/wine_detection.h"
#include "tools/editorcheck/checks.h"

namespace velmora::editorcheck {
namespace {

constexpr int kSide = 200;
constexpr uint32_t kGrey = 0xFF404040u;

// A font that only answers the renderer questions.
class FakeFont final : public PlatformFont {
 public:
  FakeFont(int32_t lineHeight, bool prefers) : lineHeight_(lineHeight), prefers_(prefers) {}
  int32_t LineHeight() const override { return lineHeight_; }
  int32_t Ascent() const override { return lineHeight_; }
  bool RenderGlyph(uint32_t, GlyphImage&) override { return false; }
  bool HasDirectRenderer() const override { return true; }
  bool PrefersDirectRenderer() const override { return prefers_; }

 private:
  int32_t lineHeight_;
  bool prefers_;
};

std::unique_ptr<PixelImage> Image(bool dib) {
  auto image =
      dib ? std::make_unique<PixelImage>(MakeDibPixelMemory()) : std::make_unique<PixelImage>();
  image->Resize(kSide, kSide);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      image->SetPixel(x, y, kGrey);
    }
  }
  return image;
}

// Columns holding any pixel that is not the background.
int InkWidth(const PixelImage& image) {
  int first = -1, last = -1;
  for (int x = 0; x < image.Width(); ++x) {
    for (int y = 0; y < image.Height(); ++y) {
      if ((image.Pixel(x, y) & 0xFFFFFFu) != (kGrey & 0xFFFFFFu)) {
        first = first < 0 ? x : first;
        last = x;
        break;
      }
    }
  }
  return first < 0 ? 0 : last - first + 1;
}

bool SameColours(const PixelImage& a, const PixelImage& b) {
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      if (((a.Pixel(x, y) ^ b.Pixel(x, y)) & 0xFFFFFFu) != 0) {
        return false;
      }
    }
  }
  return true;
}

FontRequest Arial(int size) {
  FontRequest request;
  request.face = "Arial";
  request.size = size;
  return request;
}

void CheckRendererChoice(CheckLog& log) {
  const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  log.Expect(RunningUnderWine() == wine, std::string("the \"Software\\Wine\" test answers ") +
                                             (RunningUnderWine() ? "true" : "false") +
                                             (wine ? " under Wine" : " on Windows"));
  const auto gdi = GdiFont::Create(Arial(16));
  log.Expect(gdi != nullptr && gdi->PrefersDirectRenderer() == !wine,
             "GDI fonts prefer the platform renderer exactly when not under Wine");
  const uint32_t alpha = CachedFont::kUseColourAlpha;
  CachedFont windows(std::make_unique<FakeFont>(16, true));
  CachedFont underWine(std::make_unique<FakeFont>(16, false));
  CachedFont tall(std::make_unique<FakeFont>(300, false));
  windows.lineSpacing = 2;
  log.Expect(windows.UsesPlatformRenderer("Text", 0) &&
                 !windows.UsesPlatformRenderer("Text", alpha) &&
                 !windows.UsesPlatformRenderer("Two\nlines", 0) &&
                 windows.UsesPlatformRenderer("Two\nlines", CachedFont::kSingleLine),
             "where preferred: opaque single-line text by the platform, translucent or spaced "
             "multi-line text by glyphs");
  log.Expect(!underWine.UsesPlatformRenderer("Text", 0) && tall.UsesPlatformRenderer("Text", alpha),
             "under Wine opaque text takes the glyph path; fonts over 255 pixels never do");
  // The real thing: an opaque text through DrawStyledText.
  EditorCanvas canvas;
  canvas.CreateSurface(kSide, kSide, MakeDibPixelMemory());
  TextStyle style;
  std::strcpy(style.face, "Arial");
  style.size = 23;
  style.colour = Color{255, 255, 255, 255};
  const bool drawn = canvas.DrawStyledText(style, "Opaque", Rect{4, 4, 190, 40});
  const size_t glyphs = style.cachedFont != nullptr ? style.cachedFont->RenderedGlyphCount() : 0;
  log.Expect(
      drawn && (wine ? glyphs > 0 : glyphs == 0),
      "opaque text is drawn " +
          std::string(glyphs > 0 ? "through the glyph cache (" + std::to_string(glyphs) + " glyphs)"
                                 : "by GDI directly"));
}

void CheckDirectRenderer(CheckLog& log) {
  const auto font = GdiFont::Create(Arial(20));
  if (!log.Expect(font != nullptr, "CreateFontA makes a 20-pixel Arial")) {
    return;
  }
  DirectTextRequest request;
  request.textColour = 0xFFFFFFFFu;
  request.drawFlags = DT_NOCLIP;
  auto one = Image(true), two = Image(true);
  font->DrawDirect(*one, "&", Rect{10, 10, 190, 40}, request);
  font->DrawDirect(*two, "&&", Rect{10, 10, 190, 40}, request);
  log.Expect(InkWidth(*one) > 0 && InkWidth(*two) > InkWidth(*one) * 3 / 2,
             "\"&&\" shows two ampersands (DT_NOPREFIX): ink " + std::to_string(InkWidth(*two)) +
                 " vs " + std::to_string(InkWidth(*one)));
  auto utf8 = Image(true), wide = Image(true);
  font->DrawDirect(*utf8, "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC", Rect{10, 10, 190, 40}, request);
  HDC dc = static_cast<HDC>(wide->Memory().NativeContext());
  HGDIOBJ previous = SelectObject(dc, font->Handle());
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, TRANSPARENT);
  RECT rc{10, 10, 190, 40};
  DrawTextW(dc, L"\u00e9t\u00e9 \u20ac", -1, &rc, DT_NOCLIP | DT_NOPREFIX);
  GdiFlush();
  SelectObject(dc, previous);
  log.Expect(InkWidth(*utf8) > 0 && SameColours(*utf8, *wide),
             "UTF-8 text reaches GDI as the same characters through DrawTextW");
  auto heap = Image(false), dib = Image(true);
  request.drawFlags = DT_NOCLIP | DT_CENTER;
  font->DrawDirect(*heap, "Centred & done", Rect{0, 50, 200, 80}, request);
  font->DrawDirect(*dib, "Centred & done", Rect{0, 50, 200, 80}, request);
  log.Expect(InkWidth(*heap) > 0 && SameColours(*heap, *dib),
             "an image without a device context gets the same text through the scratch surface");
}

void CheckTextHelpers(CheckLog& log) {
  log.Expect(!HasMultiByteSequence("plain & simple") && HasMultiByteSequence("caf\xC3\xA9") &&
                 !HasMultiByteSequence("\xC0\x80") && !HasMultiByteSequence("\xC3"),
             "only texts with a real UTF-8 sequence count as UTF-8");
  const std::string fits(999, 'x'), longer(1000, 'x');
  const WideText inlineText(fits.c_str()), heapText(longer.c_str());
  log.Expect(!inlineText.OnHeap() && inlineText.Length() == 999 && heapText.OnHeap() &&
                 heapText.Length() == 1000 && heapText.Data()[999] == L'x',
             "999 UTF-16 characters convert in place, 1000 on the heap");
}

void CheckWebAddresses(CheckLog& log) {
  log.Expect(IsOpenableWebAddress("https://tolvane.example/velmora") &&
                 IsOpenableWebAddress("HTTP://tolvane.example/") &&
                 IsOpenableWebAddress("mailto:info@tolvane.example"),
             "http, https and mailto addresses may be opened");
  log.Expect(!IsOpenableWebAddress(nullptr) && !IsOpenableWebAddress("") &&
                 !IsOpenableWebAddress("https://") && !IsOpenableWebAddress("ftp://host/") &&
                 !IsOpenableWebAddress("file:///C:/windows/notepad.exe") &&
                 !IsOpenableWebAddress("C:\\windows\\notepad.exe") &&
                 !IsOpenableWebAddress("https://a b") && !IsOpenableWebAddress("http://a\tb"),
             "files, programs, other schemes and addresses with spaces are refused");
  Win32EditorWindow closed(nullptr, 10, 10, 0);
  log.Expect(!closed.OpenWebAddress("notepad.exe", "Velmora", nullptr, nullptr),
             "OpenWebAddress refuses a program without starting anything");
}

}  // namespace

void CheckTextAndPlatform(CheckLog& log) {
  CheckRendererChoice(log);
  CheckDirectRenderer(log);
  CheckTextHelpers(log);
  CheckWebAddresses(log);
}

}  // namespace velmora::editorcheck
