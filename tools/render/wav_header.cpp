#include "tools/render/wav_header.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace velmora::render {
namespace {

// Headers of real files hold a handful of chunks before the audio; a file that keeps
// going without a data chunk is not worth walking to its end.
constexpr int kMostChunksBeforeData = 64;

uint32_t LittleEndian32(const unsigned char* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::optional<int64_t> AnnouncedWavFrames(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  unsigned char riff[12];
  if (!file || std::fread(riff, 1, sizeof riff, file.get()) != sizeof riff ||
      std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) {
    return std::nullopt;
  }
  uint32_t blockAlign = 0;
  for (int chunk = 0; chunk < kMostChunksBeforeData; ++chunk) {
    unsigned char header[8];
    if (std::fread(header, 1, sizeof header, file.get()) != sizeof header) {
      return std::nullopt;
    }
    uint32_t size = LittleEndian32(header + 4);
    // Chunks are padded to an even length.
    long skip = static_cast<long>(size) + static_cast<long>(size & 1u);
    if (std::memcmp(header, "data", 4) == 0) {
      if (blockAlign == 0) {
        return std::nullopt;
      }
      return static_cast<int64_t>(size / blockAlign);
    }
    if (std::memcmp(header, "fmt ", 4) == 0 && size >= 16) {
      unsigned char format[16];
      if (std::fread(format, 1, sizeof format, file.get()) != sizeof format) {
        return std::nullopt;
      }
      blockAlign = static_cast<uint32_t>(format[12]) | static_cast<uint32_t>(format[13]) << 8;
      skip -= static_cast<long>(sizeof format);
    }
    if (std::fseek(file.get(), skip, SEEK_CUR) != 0) {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace velmora::render
