// The host's transport as LV2 hosts report it: time:Position objects on an atom port, sent
// when something changes rather than every block. Between messages the song position moves
// on by speed x frames, so the engine sees what a VST 2 host reports each block.
#pragma once

#include <cstdint>

#include <lv2/atom/atom.h>
#include <lv2/urid/urid.h>

namespace velmora::lv2 {

class HostTransport {
 public:
  // Maps the URIs it reads. Without a map (a host that offers none can send no atoms) every
  // message is ignored and the tempo stays unknown.
  void Map(const LV2_URID_Map* map);

  // Takes the tempo, frame and speed of a time:Position object; other atoms are ignored,
  // as are values that are absent or not numbers (the previous value stays).
  void Read(const LV2_Atom* atom);

  // Moves the song position on after frames processed frames.
  void Advance(uint32_t frames);

  // Sample rate x 60 / tempo; 0 until a host has sent a positive finite tempo.
  double SamplesPerBeat(double sampleRate) const;

  // The song position rounded to a whole sample; 0 while unknown or negative.
  int64_t SamplePosition() const;

  double Tempo() const { return beatsPerMinute_; }

 private:
  bool NumberOf(const LV2_Atom* value, double& number) const;

  struct Urids {
    LV2_URID atomObject = 0;
    LV2_URID atomBlank = 0;
    LV2_URID atomFloat = 0;
    LV2_URID atomDouble = 0;
    LV2_URID atomInt = 0;
    LV2_URID atomLong = 0;
    LV2_URID timePosition = 0;
    LV2_URID timeBeatsPerMinute = 0;
    LV2_URID timeFrame = 0;
    LV2_URID timeSpeed = 0;
  } urids_;
  bool mapped_ = false;

  double beatsPerMinute_ = 0.0;
  double position_ = 0.0;
  double speed_ = 0.0;
};

}  // namespace velmora::lv2
