#include "lv2/display_notifier.h"

#include <cmath>
#include <cstring>

#include <lv2/atom/util.h>

#include "lv2/atom_bounds.h"
#include "lv2/bundle_names.h"

namespace velmora::lv2 {
namespace {

constexpr double kMessagesPerSecond = 25.0;
constexpr uint32_t kStripFloats = 3;
// More than one message takes in a sequence (about 120 bytes), checked before writing so a
// message is written whole or not at all.
constexpr uint32_t kMessageBytes = 256;

bool ReadStrip(const DisplayUrids& urids, const LV2_Atom* atom, StripValues& strip) {
  if (atom->type != urids.atomVector || atom->size < sizeof(LV2_Atom_Vector_Body)) {
    return false;
  }
  const auto* vector = reinterpret_cast<const LV2_Atom_Vector*>(atom);
  if (vector->body.child_type != urids.atomFloat || vector->body.child_size != sizeof(float) ||
      atom->size < sizeof(LV2_Atom_Vector_Body) + kStripFloats * sizeof(float)) {
    return false;
  }
  float numbers[kStripFloats];
  std::memcpy(numbers, &vector->body + 1, sizeof(numbers));
  strip = StripValues{numbers[0], numbers[1], numbers[2]};
  return true;
}

}  // namespace

bool DisplayUrids::Map(const LV2_URID_Map* map) {
  if (map == nullptr || map->map == nullptr) {
    return false;
  }
  auto uri = [map](const char* text) { return map->map(map->handle, text); };
  atomObject = uri(LV2_ATOM__Object);
  atomBlank = uri(LV2_ATOM__Blank);
  atomBool = uri(LV2_ATOM__Bool);
  atomFloat = uri(LV2_ATOM__Float);
  atomVector = uri(LV2_ATOM__Vector);
  atomEventTransfer = uri(LV2_ATOM__eventTransfer);
  display = uri(kDisplayUri);
  lamp = uri(kLampUri);
  leftStrip = uri(kLeftStripUri);
  rightStrip = uri(kRightStripUri);
  return true;
}

bool ReadDisplayMessage(const DisplayUrids& urids, const LV2_Atom* atom, DisplayValues& values) {
  if (atom == nullptr || (atom->type != urids.atomObject && atom->type != urids.atomBlank) ||
      atom->size < sizeof(LV2_Atom_Object_Body)) {
    return false;
  }
  const auto* object = reinterpret_cast<const LV2_Atom_Object*>(atom);
  if (object->body.otype != urids.display) {
    return false;
  }
  DisplayValues read;
  int found = 0;
  LV2_ATOM_OBJECT_FOREACH(object, property) {
    if (!PropertyInsideObject(object, property)) {
      return false;
    }
    const LV2_Atom* value = &property->value;
    if (property->key == urids.lamp && value->type == urids.atomBool &&
        value->size >= sizeof(int32_t)) {
      read.lamp = reinterpret_cast<const LV2_Atom_Bool*>(value)->body != 0;
      ++found;
    } else if (property->key == urids.leftStrip && ReadStrip(urids, value, read.left)) {
      ++found;
    } else if (property->key == urids.rightStrip && ReadStrip(urids, value, read.right)) {
      ++found;
    }
  }
  if (found != 3) {
    return false;
  }
  values = read;
  return true;
}

DisplayValues SnapshotDisplays(const dsp::LampDisplay& lamp, const dsp::GraphDisplay& left,
                               const dsp::GraphDisplay& right) {
  auto strip = [](const dsp::GraphDisplay& graph) {
    return StripValues{graph.current.load(std::memory_order_relaxed),
                       graph.lower.load(std::memory_order_relaxed),
                       graph.upper.load(std::memory_order_relaxed)};
  };
  return DisplayValues{lamp.state.load(std::memory_order_relaxed), strip(left), strip(right)};
}

void DisplayNotifier::Map(const LV2_URID_Map* map) {
  mapped_ = urids_.Map(map);
  if (mapped_) {
    lv2_atom_forge_init(&forge_, const_cast<LV2_URID_Map*>(map));
  }
}

void DisplayNotifier::SetSampleRate(double rate) {
  const double frames = std::floor(rate / kMessagesPerSecond);
  interval_ = frames >= 1.0 ? static_cast<uint32_t>(frames) : 1;
  SendSoon();
}

void DisplayNotifier::Begin(LV2_Atom_Sequence* port) {
  writing_ = false;
  if (port == nullptr || !mapped_) {
    return;
  }
  // The host states the buffer's capacity in the atom's size.
  lv2_atom_forge_set_buffer(&forge_, reinterpret_cast<uint8_t*>(port), port->atom.size);
  writing_ = lv2_atom_forge_sequence_head(&forge_, &sequence_, 0) != 0;
}

void DisplayNotifier::AfterFrames(uint32_t offset, uint32_t frames, const DisplayValues& values) {
  framesSinceMessage_ =
      framesSinceMessage_ > UINT32_MAX - frames ? UINT32_MAX : framesSinceMessage_ + frames;
  if (!writing_ || (framesSinceMessage_ < interval_ && values.lamp == lastLamp_)) {
    return;
  }
  if (forge_.size - forge_.offset < kMessageBytes) {
    return;
  }
  const uint32_t stamp = offset + frames > 0 ? offset + frames - 1 : 0;
  LV2_Atom_Forge_Frame object;
  const float left[kStripFloats] = {values.left.current, values.left.lower, values.left.upper};
  const float right[kStripFloats] = {values.right.current, values.right.lower, values.right.upper};
  const bool written =
      lv2_atom_forge_frame_time(&forge_, stamp) &&
      lv2_atom_forge_object(&forge_, &object, 0, urids_.display) &&
      lv2_atom_forge_key(&forge_, urids_.lamp) && lv2_atom_forge_bool(&forge_, values.lamp) &&
      lv2_atom_forge_key(&forge_, urids_.leftStrip) &&
      lv2_atom_forge_vector(&forge_, sizeof(float), urids_.atomFloat, kStripFloats, left) &&
      lv2_atom_forge_key(&forge_, urids_.rightStrip) &&
      lv2_atom_forge_vector(&forge_, sizeof(float), urids_.atomFloat, kStripFloats, right);
  if (written) {
    lv2_atom_forge_pop(&forge_, &object);
    framesSinceMessage_ = 0;
    lastLamp_ = values.lamp;
  } else {
    writing_ = false;
  }
}

void DisplayNotifier::End() {
  if (writing_) {
    lv2_atom_forge_pop(&forge_, &sequence_);
  }
}

}  // namespace velmora::lv2
