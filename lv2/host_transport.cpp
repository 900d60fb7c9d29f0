#include "lv2/host_transport.h"

#include "lv2/atom_bounds.h"

#include <cmath>

#include <lv2/atom/util.h>
#include <lv2/time/time.h>

namespace velmora::lv2 {

void HostTransport::Map(const LV2_URID_Map* map) {
  if (map == nullptr || map->map == nullptr) {
    return;
  }
  auto uri = [map](const char* text) { return map->map(map->handle, text); };
  urids_.atomObject = uri(LV2_ATOM__Object);
  urids_.atomBlank = uri(LV2_ATOM__Blank);
  urids_.atomFloat = uri(LV2_ATOM__Float);
  urids_.atomDouble = uri(LV2_ATOM__Double);
  urids_.atomInt = uri(LV2_ATOM__Int);
  urids_.atomLong = uri(LV2_ATOM__Long);
  urids_.timePosition = uri(LV2_TIME__Position);
  urids_.timeBeatsPerMinute = uri(LV2_TIME__beatsPerMinute);
  urids_.timeFrame = uri(LV2_TIME__frame);
  urids_.timeSpeed = uri(LV2_TIME__speed);
  mapped_ = true;
}

bool HostTransport::NumberOf(const LV2_Atom* value, double& number) const {
  double read = 0.0;
  if (value->type == urids_.atomFloat && value->size >= sizeof(float)) {
    read = reinterpret_cast<const LV2_Atom_Float*>(value)->body;
  } else if (value->type == urids_.atomDouble && value->size >= sizeof(double)) {
    read = reinterpret_cast<const LV2_Atom_Double*>(value)->body;
  } else if (value->type == urids_.atomInt && value->size >= sizeof(int32_t)) {
    read = reinterpret_cast<const LV2_Atom_Int*>(value)->body;
  } else if (value->type == urids_.atomLong && value->size >= sizeof(int64_t)) {
    read = static_cast<double>(reinterpret_cast<const LV2_Atom_Long*>(value)->body);
  } else {
    return false;
  }
  if (!std::isfinite(read)) {
    return false;
  }
  number = read;
  return true;
}

void HostTransport::Read(const LV2_Atom* atom) {
  if (!mapped_ || atom == nullptr ||
      (atom->type != urids_.atomObject && atom->type != urids_.atomBlank) ||
      atom->size < sizeof(LV2_Atom_Object_Body)) {
    return;
  }
  const auto* object = reinterpret_cast<const LV2_Atom_Object*>(atom);
  if (object->body.otype != urids_.timePosition) {
    return;
  }
  LV2_ATOM_OBJECT_FOREACH(object, property) {
    if (!PropertyInsideObject(object, property)) {
      return;
    }
    double number = 0.0;
    if (!NumberOf(&property->value, number)) {
      continue;
    }
    if (property->key == urids_.timeBeatsPerMinute) {
      beatsPerMinute_ = number;
    } else if (property->key == urids_.timeFrame) {
      position_ = number;
    } else if (property->key == urids_.timeSpeed) {
      speed_ = number;
    }
  }
}

void HostTransport::Advance(uint32_t frames) {
  position_ += speed_ * static_cast<double>(frames);
}

// The same arithmetic as the VST 2 frame's time queries, so both bindings feed the engine
// identical numbers for the same tempo and position.
double HostTransport::SamplesPerBeat(double sampleRate) const {
  return beatsPerMinute_ > 0.0 ? sampleRate * 60.0 / beatsPerMinute_ : 0.0;
}

int64_t HostTransport::SamplePosition() const {
  // The upper bound keeps the conversion defined; no song gets near it.
  if (!(position_ >= 0.0 && position_ < 9.0e18)) {
    return 0;
  }
  return static_cast<int64_t>(position_ + 0.5);
}

}  // namespace velmora::lv2
