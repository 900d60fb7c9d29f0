// Sends the engine's display records (the bypass lamp and the two modulation strips) to the
// UI as small atom objects on the notify port. The UI lives in another process or thread
// and cannot read the engine, so the DSP reports them about 25 times a second, and at once
// when the lamp switches.
#pragma once

#include <cstdint>

#include <lv2/atom/atom.h>
#include <lv2/atom/forge.h>
#include <lv2/urid/urid.h>

#include "engine/display_state.h"

namespace velmora::lv2 {

// One strip as sent: the marker's value and the range it moves in.
struct StripValues {
  float current = -1.0f;
  float lower = 0.0f;
  float upper = 0.0f;
};

struct DisplayValues {
  bool lamp = false;
  StripValues left;
  StripValues right;
};

// The URIDs of the display message, shared by the writer here and the UI's reader.
struct DisplayUrids {
  bool Map(const LV2_URID_Map* map);

  LV2_URID atomObject = 0;
  LV2_URID atomBlank = 0;
  LV2_URID atomBool = 0;
  LV2_URID atomFloat = 0;
  LV2_URID atomVector = 0;
  LV2_URID atomEventTransfer = 0;
  LV2_URID display = 0;
  LV2_URID lamp = 0;
  LV2_URID leftStrip = 0;
  LV2_URID rightStrip = 0;
};

// Reads a display message into values; false for any other atom or a malformed one.
bool ReadDisplayMessage(const DisplayUrids& urids, const LV2_Atom* atom, DisplayValues& values);

DisplayValues SnapshotDisplays(const dsp::LampDisplay& lamp, const dsp::GraphDisplay& left,
                               const dsp::GraphDisplay& right);

class DisplayNotifier {
 public:
  // Without a map nothing is sent.
  void Map(const LV2_URID_Map* map);

  // Messages at most every interval frames (about 1/25 s), plus one when the lamp switches.
  void SetSampleRate(double rate);

  // Sends the next message at the first opportunity.
  void SendSoon() { framesSinceMessage_ = interval_; }

  // Begins the port's sequence for this run; a null port sends nothing.
  void Begin(LV2_Atom_Sequence* port);
  // Called after the frames up to offset + frames are processed: writes a message stamped
  // with that offset when one is due.
  void AfterFrames(uint32_t offset, uint32_t frames, const DisplayValues& values);
  void End();

 private:
  DisplayUrids urids_;
  LV2_Atom_Forge forge_{};
  LV2_Atom_Forge_Frame sequence_{};
  bool mapped_ = false;
  bool writing_ = false;
  uint32_t interval_ = 1764;
  uint32_t framesSinceMessage_ = 1764;
  bool lastLamp_ = false;
};

}  // namespace velmora::lv2
