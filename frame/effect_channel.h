// The channel model: which input/output channel counts the effect accepts, and one record per
// input and output channel with its connection state and its double-precision scratch buffer.
#pragma once

#include <vector>

namespace velmora {

struct ChannelPair {
  int inputs;
  int outputs;
};

// Reads a channel I/O text such as "1-1 2-2" into its pairs, one "in-out" item per
// space-separated word. A word that does not start with a pair gives the pair (0, 0).
std::vector<ChannelPair> ParseChannelPairs(const char* text);

struct IEffectChannel {
  bool connected = false;
  std::vector<double> scratch;  // block-length samples
  float* hostBuffer = nullptr;  // outputs only: the host's buffer of the current call
};

}  // namespace velmora
