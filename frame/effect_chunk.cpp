#include "frame/effect_chunk.h"

#include <cstring>
#include <new>

namespace velmora {
namespace {

// Chunks are little-endian whatever the machine; both targets are, but the byte order is
// spelled out so the layout never depends on it.
void StoreLittleEndian(uint64_t bits, int count, uint8_t* out) {
  for (int i = 0; i < count; ++i) {
    out[i] = static_cast<uint8_t>(bits >> (8 * i));
  }
}

uint64_t LoadLittleEndian(const uint8_t* in, int count) {
  uint64_t bits = 0;
  for (int i = 0; i < count; ++i) {
    bits |= static_cast<uint64_t>(in[i]) << (8 * i);
  }
  return bits;
}

}  // namespace

IEffectChunk::IEffectChunk(int granularity)
    : granularity_(granularity > 0 ? static_cast<size_t>(granularity) : 1) {}

bool IEffectChunk::Reserve(size_t needed) {
  if (needed <= bytes_.capacity()) {
    return true;
  }
  const size_t grown = bytes_.capacity() + (needed / 2 > granularity_ ? needed / 2 : granularity_);
  try {
    bytes_.reserve(grown > needed ? grown : needed);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

bool IEffectChunk::ReserveExactly(int size) {
  if (size < 0) {
    return false;
  }
  if (static_cast<size_t>(size) <= bytes_.capacity()) {
    return true;
  }
  try {
    bytes_.reserve(static_cast<size_t>(size));
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

bool IEffectChunk::Resize(int size) {
  if (size < 0 || !Reserve(static_cast<size_t>(size))) {
    return false;
  }
  bytes_.resize(static_cast<size_t>(size), 0);
  return true;
}

bool IEffectChunk::Append(const void* bytes, int count) {
  if (count < 0 || (count > 0 && bytes == nullptr)) {
    return false;
  }
  const size_t oldSize = bytes_.size();
  if (!Reserve(oldSize + static_cast<size_t>(count))) {
    return false;
  }
  bytes_.resize(oldSize + static_cast<size_t>(count));
  if (count > 0) {
    std::memcpy(bytes_.data() + oldSize, bytes, static_cast<size_t>(count));
  }
  return true;
}

bool IEffectChunk::Assign(const void* bytes, int count) {
  if (count < 0 || (count > 0 && bytes == nullptr)) {
    return false;
  }
  const auto* begin = static_cast<const uint8_t*>(bytes);
  const auto held = reinterpret_cast<uintptr_t>(bytes_.data());
  const auto source = reinterpret_cast<uintptr_t>(begin);
  const bool ownBytes = source >= held && source < held + bytes_.capacity();
  if (!ownBytes && static_cast<size_t>(count) <= bytes_.capacity()) {
    bytes_.assign(begin, begin + count);
    return true;
  }
  std::vector<uint8_t> fresh;
  try {
    fresh.reserve(static_cast<size_t>(count) > granularity_ ? count : granularity_);
    fresh.assign(begin, begin + count);
  } catch (const std::exception&) {
    return false;
  }
  bytes_.swap(fresh);
  return true;
}

bool IEffectChunk::AppendInt32(int32_t value) {
  uint8_t raw[4];
  StoreLittleEndian(static_cast<uint32_t>(value), 4, raw);
  return Append(raw, 4);
}

bool IEffectChunk::AppendDouble(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  uint8_t raw[8];
  StoreLittleEndian(bits, 8, raw);
  return Append(raw, 8);
}

bool IEffectChunk::ReadAt(int position, void* bytes, int count) const {
  if (position < 0 || count < 0 || static_cast<size_t>(position) + count > bytes_.size()) {
    return false;
  }
  if (count > 0) {
    std::memcpy(bytes, bytes_.data() + position, static_cast<size_t>(count));
  }
  return true;
}

bool IEffectChunk::ReadInt32(int position, int32_t* value) const {
  uint8_t raw[4];
  if (!ReadAt(position, raw, 4)) {
    return false;
  }
  *value = static_cast<int32_t>(static_cast<uint32_t>(LoadLittleEndian(raw, 4)));
  return true;
}

bool IEffectChunk::ReadDouble(int position, double* value) const {
  uint8_t raw[8];
  if (!ReadAt(position, raw, 8)) {
    return false;
  }
  const uint64_t bits = LoadLittleEndian(raw, 8);
  std::memcpy(value, &bits, sizeof(bits));
  return true;
}

}  // namespace velmora
