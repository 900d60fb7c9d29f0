// Karplus-Strong plucks: a delay line of one period, filled with noise, fed back through a
// two-point average with a little loss. y[n] = x[n] with x[n + N] = g (x[n] + x[n + 1]) / 2,
// N = sampleRate / frequency. Each note is cut after a short ring with a brief fade so the
// gaps between phrases are truly silent.
#include "tools/render/demo_signal.h"

#include <cmath>
#include <cstdint>

namespace velmora::render {
namespace {

struct Note {
  double start;      // seconds
  double frequency;  // Hz
};

constexpr Note kNotes[] = {
    {0.00, 220.00}, {0.25, 261.63}, {0.50, 329.63}, {0.75, 440.00},  // rising A minor
    {2.50, 293.66}, {2.70, 349.23}, {2.90, 440.00}, {3.10, 587.33},  // D minor
    {5.00, 329.63},                                                  // one last pluck
};
constexpr double kNoteSeconds = 0.18;
constexpr double kFadeSeconds = 0.02;
constexpr double kLoss = 0.996;
constexpr float kAmplitude = 0.35f;

// A fixed linear congruential generator: the demo is identical on every run and machine.
class NoiseSource {
 public:
  float Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<float>(state_ >> 8) / static_cast<float>(1u << 23) - 1.0f;
  }

 private:
  uint32_t state_ = 12345u;
};

void AddPluck(std::vector<float>& out, double sampleRate, const Note& note, NoiseSource& noise) {
  auto period = static_cast<size_t>(std::lround(sampleRate / note.frequency));
  if (period < 2) {
    return;
  }
  std::vector<float> line(period);
  for (float& sample : line) {
    sample = noise.Next();
  }
  auto start = static_cast<size_t>(std::lround(note.start * sampleRate));
  auto length = static_cast<size_t>(std::lround(kNoteSeconds * sampleRate));
  auto fade = static_cast<size_t>(std::lround(kFadeSeconds * sampleRate));
  for (size_t n = 0; n < length && start + n < out.size(); ++n) {
    size_t here = n % period;
    size_t next = (here + 1) % period;
    float sample = line[here];
    line[here] = static_cast<float>(kLoss * 0.5 * (line[here] + line[next]));
    float gain =
        n + fade >= length ? static_cast<float>(length - n) / static_cast<float>(fade) : 1.0f;
    out[start + n] += kAmplitude * gain * sample;
  }
}

}  // namespace

std::vector<float> MakeDemoSignal(double sampleRate) {
  std::vector<float> out(static_cast<size_t>(std::lround(kDemoSeconds * sampleRate)), 0.0f);
  NoiseSource noise;
  for (const Note& note : kNotes) {
    AddPluck(out, sampleRate, note, noise);
  }
  return out;
}

}  // namespace velmora::render
