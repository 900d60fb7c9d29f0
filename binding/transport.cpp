#include "binding/transport.h"

#include <cmath>

namespace velmora::binding {

bool Transport::TempoUsable() const {
  return tempoValid && tempo > 0.0 && std::isfinite(tempo);
}

Transport Advanced(const Transport& transport, double frames, double sampleRate) {
  Transport later = transport;
  if (!transport.playing) {
    return later;
  }
  later.samplePosition += frames;
  if (transport.beatPositionValid && transport.TempoUsable() && sampleRate > 0.0) {
    later.beatPosition += frames * transport.tempo / (60.0 * sampleRate);
  }
  return later;
}

}  // namespace velmora::binding
