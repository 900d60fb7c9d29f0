#include "frame/effect_channel.h"

#include <charconv>
#include <cstring>

namespace velmora {
namespace {

// Reads one count as scanf's %d does: leading C-locale white space and one sign are allowed.
// Returns the place after the number, or null when there is none.
const char* ReadCount(const char* text, const char* end, int* count) {
  while (text < end && (*text == ' ' || (*text >= '\t' && *text <= '\r'))) {
    ++text;
  }
  // from_chars takes a minus sign but not a plus sign.
  if (text < end && *text == '+' && text + 1 < end && text[1] != '-') {
    ++text;
  }
  const auto result = std::from_chars(text, end, *count);
  return result.ec == std::errc() ? result.ptr : nullptr;
}

// Reads "<int>-<int>" at text; counts that cannot be read stay 0, like a scanf that stops.
ChannelPair ReadPair(const char* text, const char* end) {
  ChannelPair pair{0, 0};
  const char* after = ReadCount(text, end, &pair.inputs);
  if (after == nullptr) {
    pair.inputs = 0;
    return pair;
  }
  if (after < end && *after == '-' && ReadCount(after + 1, end, &pair.outputs) == nullptr) {
    pair.outputs = 0;
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
