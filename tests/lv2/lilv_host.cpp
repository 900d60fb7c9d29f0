#include "tests/lv2/lilv_host.h"

#include <lv2/atom/util.h>
#include <lv2/time/time.h>

#include <algorithm>
#include <cstdio>

#include "lv2/bundle_names.h"
#include "lv2/port_index.h"

namespace velmora::lv2::testing {
namespace {

constexpr size_t kAtomBufferBytes = 8192;

LV2_URID MapUri(LV2_URID_Map_Handle handle, const char* uri) {
  return static_cast<UridMap*>(handle)->Map(uri);
}

const char* UnmapUrid(LV2_URID_Unmap_Handle handle, LV2_URID urid) {
  return static_cast<UridMap*>(handle)->Unmap(urid);
}

}  // namespace

UridMap::UridMap() : map_{this, MapUri}, unmap_{this, UnmapUrid} {}

LV2_URID UridMap::Map(const char* uri) {
  auto found = ids_.find(uri);
  if (found != ids_.end()) {
    return found->second;
  }
  uris_.push_back(uri);
  const auto id = static_cast<LV2_URID>(uris_.size());
  ids_[uri] = id;
  return id;
}

const char* UridMap::Unmap(LV2_URID urid) const {
  return urid >= 1 && urid <= uris_.size() ? uris_[urid - 1].c_str() : nullptr;
}

Lv2World::Lv2World() : world_(lilv_world_new()) {
  LilvNode* bundle = lilv_new_file_uri(world_, nullptr, VELMORA_LV2_BUNDLE "/");
  lilv_world_load_bundle(world_, bundle);
  lilv_node_free(bundle);
  LilvNode* uri = lilv_new_uri(world_, kPluginUri);
  plugin_ = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world_), uri);
  lilv_node_free(uri);
}

Lv2World::~Lv2World() {
  lilv_world_free(world_);
}

Lv2Instance::Lv2Instance(Lv2World& world, double sampleRate)
    : world_(world),
      timeBuffer_(kAtomBufferBytes / sizeof(uint64_t)),
      notifyBuffer_(kAtomBufferBytes / sizeof(uint64_t)) {
  if (world.Plugin() == nullptr) {
    return;
  }
  LV2_Feature mapFeature = {LV2_URID__map, world.Urids().MapFeature()};
  LV2_Feature unmapFeature = {LV2_URID__unmap, world.Urids().UnmapFeature()};
  const LV2_Feature* features[] = {&mapFeature, &unmapFeature, nullptr};
  instance_ = lilv_plugin_instantiate(world.Plugin(), sampleRate, features);
  if (instance_ == nullptr) {
    return;
  }
  lv2_atom_forge_init(&forge_, world.Urids().MapFeature());
  for (int i = 0; i < kVelmoraParamCount; ++i) {
    lilv_instance_connect_port(instance_, ParamPort(i), &controls_[i]);
  }
  lilv_instance_connect_port(instance_, kPortTime, timeBuffer_.data());
  lilv_instance_connect_port(instance_, kPortNotify, notifyBuffer_.data());
  ResetTimeBuffer();
  SetDefaults();
}

Lv2Instance::~Lv2Instance() {
  if (instance_ != nullptr) {
    if (activated_) {
      lilv_instance_deactivate(instance_);
    }
    lilv_instance_free(instance_);
  }
}

void Lv2Instance::Activate() {
  lilv_instance_activate(instance_);
  activated_ = true;
}

void Lv2Instance::SetDefaults() {
  const uint32_t ports = lilv_plugin_get_num_ports(world_.Plugin());
  std::vector<float> defaults(ports);
  lilv_plugin_get_port_ranges_float(world_.Plugin(), nullptr, nullptr, defaults.data());
  for (int i = 0; i < kVelmoraParamCount; ++i) {
    controls_[i] = defaults[ParamPort(i)];
  }
}

void Lv2Instance::ResetTimeBuffer() {
  lv2_atom_forge_set_buffer(&forge_, reinterpret_cast<uint8_t*>(timeBuffer_.data()),
                            kAtomBufferBytes);
  lv2_atom_forge_sequence_head(&forge_, &sequence_, 0);
}

void Lv2Instance::QueueTime(const TimePosition& position, uint32_t at) {
  UridMap& urids = world_.Urids();
  LV2_Atom_Forge_Frame object;
  lv2_atom_forge_frame_time(&forge_, at);
  lv2_atom_forge_object(&forge_, &object, 0, urids.Map(LV2_TIME__Position));
  lv2_atom_forge_key(&forge_, urids.Map(LV2_TIME__beatsPerMinute));
  lv2_atom_forge_float(&forge_, position.beatsPerMinute);
  lv2_atom_forge_key(&forge_, urids.Map(LV2_TIME__frame));
  lv2_atom_forge_long(&forge_, position.frame);
  lv2_atom_forge_key(&forge_, urids.Map(LV2_TIME__speed));
  lv2_atom_forge_float(&forge_, position.speed);
  lv2_atom_forge_pop(&forge_, &object);
}

void Lv2Instance::Run(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                      uint32_t frames) {
  lilv_instance_connect_port(instance_, kPortInputLeft, const_cast<float*>(inLeft));
  lilv_instance_connect_port(instance_, kPortInputRight, const_cast<float*>(inRight));
  lilv_instance_connect_port(instance_, kPortOutputLeft, outLeft);
  lilv_instance_connect_port(instance_, kPortOutputRight, outRight);
  auto* notify = reinterpret_cast<LV2_Atom_Sequence*>(notifyBuffer_.data());
  notify->atom.type = world_.Urids().Map(LV2_ATOM__Chunk);
  notify->atom.size = kAtomBufferBytes - sizeof(LV2_Atom);
  lilv_instance_run(instance_, frames);
  ResetTimeBuffer();
}

const LV2_Atom_Sequence* Lv2Instance::Notify() const {
  return reinterpret_cast<const LV2_Atom_Sequence*>(notifyBuffer_.data());
}

LV2_Handle Lv2Instance::Handle() const {
  return lilv_instance_get_handle(instance_);
}

namespace {

struct PresetReading {
  Lv2World* world;
  std::vector<std::pair<int, float>> controls;
};

void TakePortValue(const char* symbol, void* data, const void* value, uint32_t size,
                   uint32_t type) {
  auto* reading = static_cast<PresetReading*>(data);
  if (type != reading->world->Urids().Map(LV2_ATOM__Float) || size != sizeof(float)) {
    return;
  }
  LilvNode* name = lilv_new_string(reading->world->World(), symbol);
  const LilvPort* port = lilv_plugin_get_port_by_symbol(reading->world->Plugin(), name);
  lilv_node_free(name);
  const int param =
      port != nullptr ? ParamOfPort(lilv_port_get_index(reading->world->Plugin(), port)) : -1;
  if (param >= 0) {
    reading->controls.emplace_back(param, *static_cast<const float*>(value));
  }
}

}  // namespace

std::vector<std::pair<int, float>> PresetControls(Lv2World& world, int number) {
  char uri[64];
  std::snprintf(uri, sizeof(uri), "%s%02d", kPresetUriPrefix, number);
  LilvNode* preset = world.NewUri(uri);
  lilv_world_load_resource(world.World(), preset);
  LilvState* state = lilv_state_new_from_world(world.World(), world.Urids().MapFeature(), preset);
  lilv_node_free(preset);
  PresetReading reading{&world, {}};
  if (state != nullptr) {
    lilv_state_emit_port_values(state, TakePortValue, &reading);
    lilv_state_free(state);
  }
  return reading.controls;
}

std::vector<float> RenderThroughLv2(Lv2World& world, const std::vector<float>& interleaved,
                                    const Lv2RenderSettings& settings) {
  Lv2Instance instance(world, settings.sampleRate);
  if (!instance.Valid()) {
    return {};
  }
  for (const auto& [index, value] : settings.controls) {
    instance.SetControl(index, value);
  }
  instance.Activate();
  const size_t total = interleaved.size() / 2;
  std::vector<float> output(interleaved.size());
  std::vector<float> in[2], out[2];
  for (int c = 0; c < 2; ++c) {
    in[c].resize(settings.block);
    out[c].resize(settings.block);
  }
  for (size_t done = 0; done < total;) {
    const auto frames = static_cast<uint32_t>(std::min<size_t>(settings.block, total - done));
    for (uint32_t i = 0; i < frames; ++i) {
      in[0][i] = interleaved[2 * (done + i)];
      in[1][i] = interleaved[2 * (done + i) + 1];
    }
    if (settings.tempo > 0.0f && (done == 0 || settings.everyBlock)) {
      instance.QueueTime({settings.tempo, static_cast<int64_t>(done), 1.0f});
    }
    instance.Run(in[0].data(), in[1].data(), out[0].data(), out[1].data(), frames);
    for (uint32_t i = 0; i < frames; ++i) {
      output[2 * (done + i)] = out[0][i];
      output[2 * (done + i) + 1] = out[1][i];
    }
    done += frames;
  }
  return output;
}

}  // namespace velmora::lv2::testing
