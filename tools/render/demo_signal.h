// The built-in demo: a few seconds of short plucked-string notes with silent gaps between
// the phrases, so that a delay's echoes can be heard on their own. Generated, not bundled.
#pragma once

#include <vector>

namespace velmora::render {

// Mono samples at sampleRate (same notes and timing at every rate), peak below 1.
std::vector<float> MakeDemoSignal(double sampleRate);

// Length of the demo in seconds.
constexpr double kDemoSeconds = 7.0;

}  // namespace velmora::render
