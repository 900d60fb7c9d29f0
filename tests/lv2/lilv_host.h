// A small LV2 host for the tests, on lilv: loads the built bundle, instantiates the plug-in,
// feeds its control ports and its time port (time:Position objects made with the atom
// forge) and runs it block by block.
#pragma once

#include <lilv/lilv.h>
#include <lv2/atom/forge.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/parameter_index.h"

namespace velmora::lv2::testing {

// URIs to numbers and back, as a host offers them.
class UridMap {
 public:
  UridMap();
  LV2_URID Map(const char* uri);
  const char* Unmap(LV2_URID urid) const;
  LV2_URID_Map* MapFeature() { return &map_; }
  LV2_URID_Unmap* UnmapFeature() { return &unmap_; }

 private:
  std::map<std::string, LV2_URID> ids_;
  std::vector<std::string> uris_;
  LV2_URID_Map map_;
  LV2_URID_Unmap unmap_;
};

// The lilv world with the build's bundle loaded, and the plug-in it describes.
class Lv2World {
 public:
  Lv2World();
  ~Lv2World();
  Lv2World(const Lv2World&) = delete;
  Lv2World& operator=(const Lv2World&) = delete;

  LilvWorld* World() const { return world_; }
  const LilvPlugin* Plugin() const { return plugin_; }
  UridMap& Urids() { return urids_; }
  LilvNode* NewUri(const char* uri) const { return lilv_new_uri(world_, uri); }

 private:
  LilvWorld* world_;
  const LilvPlugin* plugin_ = nullptr;
  UridMap urids_;
};

struct TimePosition {
  float beatsPerMinute;
  int64_t frame;
  float speed;
};

// One running instance with its control values and atom buffers.
class Lv2Instance {
 public:
  Lv2Instance(Lv2World& world, double sampleRate);
  ~Lv2Instance();
  Lv2Instance(const Lv2Instance&) = delete;
  Lv2Instance& operator=(const Lv2Instance&) = delete;

  bool Valid() const { return instance_ != nullptr; }
  void Activate();

  // Parameter index 0..21 in its displayed units.
  void SetControl(int index, float value) { controls_[index] = value; }
  float Control(int index) const { return controls_[index]; }
  // The port values of the ttl defaults.
  void SetDefaults();

  // Sent at frame 0 (or at) of the next run only.
  void QueueTime(const TimePosition& position, uint32_t at = 0);

  // Runs one block; in and out hold frames samples per channel (the same buffers may be
  // given for both, as hosts may process in place).
  void Run(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
           uint32_t frames);

  // The notify port's sequence after the last run.
  const LV2_Atom_Sequence* Notify() const;
  LV2_Handle Handle() const;
  LilvInstance* Lilv() const { return instance_; }

 private:
  void ResetTimeBuffer();

  Lv2World& world_;
  LilvInstance* instance_ = nullptr;
  float controls_[kVelmoraParamCount] = {};
  std::vector<uint64_t> timeBuffer_;
  std::vector<uint64_t> notifyBuffer_;
  LV2_Atom_Forge forge_{};
  LV2_Atom_Forge_Frame sequence_{};
  bool activated_ = false;
};

// Renders interleaved stereo input in blocks of block frames. With a tempo, a time:Position
// goes with the first block only when everyBlock is false (the plug-in then follows the
// song position itself), with every block otherwise.
struct Lv2RenderSettings {
  double sampleRate = 44100.0;
  uint32_t block = 512;
  float tempo = 0.0f;  // 0: send no time at all
  bool everyBlock = false;
  std::vector<std::pair<int, float>> controls;
};

// The port values factory preset number (1..32) holds, as lilv restores them; empty when
// the preset cannot be loaded.
std::vector<std::pair<int, float>> PresetControls(Lv2World& world, int number);

std::vector<float> RenderThroughLv2(Lv2World& world, const std::vector<float>& interleaved,
                                    const Lv2RenderSettings& settings);

}  // namespace velmora::lv2::testing
