#include "vst3/process_context.h"

#include <cmath>

namespace velmora::vst3 {

binding::Transport TransportOf(const ProcessContext* context) {
  binding::Transport transport;
  if (context == nullptr) {
    return transport;
  }
  const uint32_t state = context->state;
  transport.samplePosition = static_cast<double>(context->projectTimeSamples);
  transport.playing = (state & ProcessContext::kPlaying) != 0;
  if ((state & ProcessContext::kTempoValid) != 0 && std::isfinite(context->tempo) &&
      context->tempo > 0.0) {
    transport.tempoValid = true;
    transport.tempo = context->tempo;
  }
  if ((state & ProcessContext::kProjectTimeMusicValid) != 0 &&
      std::isfinite(context->projectTimeMusic)) {
    transport.beatPositionValid = true;
    transport.beatPosition = context->projectTimeMusic;
  }
  return transport;
}

}  // namespace velmora::vst3
