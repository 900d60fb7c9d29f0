#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace velmora {

// Where an image keeps its pixels. Decoded images live on the heap; the editor surface of a
// window layer may instead place them in memory the platform can copy to a window (a DIB
// section on Windows).
class PixelMemory {
 public:
  virtual ~PixelMemory() = default;

  // Makes room for at least minimumPixels pixels laid out as height rows of span pixels.
  // Old contents need not survive and new memory is not cleared. False when no memory
  // could be obtained; the previous memory is then kept.
  virtual bool Reserve(int32_t span, int32_t height, size_t minimumPixels) = 0;

  virtual uint32_t* Pixels() = 0;
  virtual size_t CapacityPixels() const = 0;

  // The platform's drawing context for these pixels (the memory device context of a DIB
  // section on Windows), so platform renderers can draw into them; null for plain memory.
  virtual void* NativeContext() { return nullptr; }
};

// Plain heap memory, the default for every image.
std::unique_ptr<PixelMemory> MakeHeapPixelMemory();

}  // namespace velmora
