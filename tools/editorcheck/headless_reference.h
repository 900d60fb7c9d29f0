// The same editor built in this process with the headless window layer: the reference the
// real window's pixels are compared with. It uses the same text renderer as the plug-in
// DLL, since both are Windows builds of the same code.
#pragma once

#include <string>

#include "frame/vst2.h"

namespace velmora {
class PixelImage;
}

namespace velmora::editorcheck {

class HeadlessReference {
 public:
  HeadlessReference() = default;
  ~HeadlessReference();
  HeadlessReference(const HeadlessReference&) = delete;
  HeadlessReference& operator=(const HeadlessReference&) = delete;

  // Creates and starts an instance as the host library does (open, 44.1 kHz, block 512,
  // processing on), opens its editor and lets one tick paint it. Empty text on success.
  // A scale other than 1 is asked for first, as a host asks for it (the VST 2 vendor request).
  std::string Paint(double scale = 1.0);
  // The painted picture; null before Paint succeeded.
  const PixelImage* Picture() const { return picture_; }
  // The editor's background image, as decoded from the resources.
  const PixelImage* Background() const;

 private:
  vst::AEffect* effect_ = nullptr;
  const PixelImage* picture_ = nullptr;
};

}  // namespace velmora::editorcheck
