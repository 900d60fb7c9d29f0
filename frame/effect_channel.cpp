#include "frame/effect_channel.h"

#include <charconv>
#include <cstring>

namespace velmora {
namespace {

// Reads "<int>-<int>" at text; counts that cannot be read stay 0, like a scanf that stops.
ChannelPair ReadPair(const char* text, const char* end) {
  ChannelPair pair{0, 0};
  const auto first = std::from_chars(text, end, pair.inputs);
  if (first.ec != std::errc()) {
    pair.inputs = 0;
    return pair;
  }
  if (first.ptr < end && *first.ptr == '-') {
    if (std::from_chars(first.ptr + 1, end, pair.outputs).ec != std::errc()) {
      pair.outputs = 0;
    }
  }
  return pair;
}

}  // namespace

std::vector<ChannelPair> ParseChannelPairs(const char* text) {
  std::vector<ChannelPair> pairs;
  if (text == nullptr) {
    return pairs;
  }
  const char* end = text + std::strlen(text);
  const char* place = text;
  for (;;) {
    pairs.push_back(ReadPair(place, end));
    const char* space = std::strchr(place, ' ');
    if (space == nullptr) {
      break;
    }
    place = space + 1;
  }
  return pairs;
}

}  // namespace velmora
