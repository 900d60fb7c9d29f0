// One instance of the plug-in class run by a binding of another plug-in format. The binding
// is the plug-in's VST 2 host: the instance is made through the same entry code and driven
// through the same effect record as under a VST 2 host, so it computes the same samples and
// shows the same texts. The host callback is answered here: time queries from the binding's
// Transport, automation and edit gestures handed to the binding's GestureSink, identity from
// the binding's host.
//
// Threads: the binding calls in from its host's threads as its format allows. Every call that
// reaches the plug-in holds its recursive instance lock, so calls never interleave; the audio
// path allocates nothing once Activate() returned.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "binding/block_events.h"
#include "binding/editor_resizer.h"
#include "binding/gesture_sink.h"
#include "binding/transport.h"
#include "engine/parameter_index.h"
#include "frame/editor_link.h"
#include "frame/vst2.h"

namespace velmora {
class VSTCLASS;
}

namespace velmora::binding {

// What the hosted plug-in is told about its host when it asks (it uses the product string to
// recognise hosts that need special handling).
struct HostIdentity {
  std::string product;
  std::string vendor;
  int32_t version = 0;  // major x 10000 + minor x 100 + patch
};

// A host's audio for one block. Either the float or the double pointers are used, never a
// mix: double when out64 is set. Arrays and channel buffers may be null (inputs then read as
// silence, outputs are not written).
struct AudioBlock {
  uint32_t frames = 0;
  int inputChannels = 0;
  int outputChannels = 0;
  const float* const* in32 = nullptr;
  float* const* out32 = nullptr;
  const double* const* in64 = nullptr;
  double* const* out64 = nullptr;
};

// A parameter as a host sees it: the declared name, unit, range and default, and its shape.
struct ParamInfo {
  const char* name = "";
  const char* unit = "";
  double minimum = 0.0;
  double maximum = 1.0;
  double defaultValue = 0.0;
  bool stepped = false;     // whole steps only (every parameter of this plug-in)
  bool enumerated = false;  // a list of named values
};

class HostedEffect {
 public:
  // Null when the plug-in cannot be built. The sink may be null (gestures are then dropped);
  // it must outlive the instance.
  static std::unique_ptr<HostedEffect> Create(const HostIdentity& host, GestureSink* sink);
  ~HostedEffect();
  HostedEffect(const HostedEffect&) = delete;
  HostedEffect& operator=(const HostedEffect&) = delete;

  // Audio set-up, off the audio thread: sample rate, longest block, switch-on. Allocates what
  // processing needs. A rate that is not positive and finite, or a maximum of 0, fails.
  bool Activate(double sampleRate, uint32_t maxFrames);
  void Deactivate();
  // Clears the delay line and filter states, as switching off and on does.
  void Reset();
  // "1-1 2-2": stereo or mono. Other counts are refused. Only while deactivated.
  bool SetChannelLayout(int inputs, int outputs);
  int InputChannels() const { return inputChannels_; }
  int OutputChannels() const { return outputChannels_; }

  // Processes a block in segments between the events, applying each event at its frame
  // (see EffectiveOffset). Events are taken in the order given; SortByOffset first if the
  // host's order is not by time. Parameter events with an undeclared index or a value that is
  // not finite are skipped. Returns false when the block could not be processed (not active,
  // frames beyond the announced maximum): outputs then hold silence.
  bool Process(const AudioBlock& block, const Transport& transport, const BlockEvent* events,
               uint32_t eventCount);
  // Applies events without audio, as between blocks.
  void ApplyEvents(const BlockEvent* events, uint32_t eventCount);
  // Whether the last block left the engine in its automatic bypass (output = input).
  bool Bypassed() const;
  // How long the output may still sound after the input fell silent, in samples;
  // UINT32_MAX for "as long as it is fed back" (100 % feedback, or feedback swept).
  uint32_t TailSamples() const;
  int Latency() const;

  // Parameters, by index 0..ParamCount() - 1. Invalid indexes give false / 0 / empty.
  int ParamCount() const;
  bool Info(int index, ParamInfo& info) const;
  double PlainValue(int index) const;
  double NormalisedValue(int index) const;
  double ToNormalised(int index, double plain) const;
  double ToPlain(int index, double normalised) const;
  // A host's change: rounded to the step and clamped to the range, shown in the editor,
  // applied. False (nothing changed) for an invalid index or a value that is not finite.
  bool SetPlain(int index, double plain);
  bool SetNormalised(int index, double normalised);
  // The VST 2 display text of a plain value, with the unit label after a space when the
  // parameter has one. False when the index is invalid or the buffer too small.
  bool FormatPlain(int index, double plain, char* text, size_t size) const;
  // The value a typed text stands for (a display text, or a number with or without the unit);
  // false when the text names no value of the parameter.
  bool ParsePlain(int index, const char* text, double& plain) const;

  // State: the 180-byte chunk. SaveState writes into bytes (size at least kStateSize) and
  // returns the byte count, 0 on failure. LoadState takes only a chunk IsOwnState accepts
  // and changes nothing otherwise.
  size_t SaveState(uint8_t* bytes, size_t size);
  bool LoadState(const uint8_t* bytes, size_t size);

  // Factory programs: the named ones a host may list (the plug-in's programs that are in use
  // from construction), and loading one as the current settings.
  int FactoryProgramCount() const { return factoryPrograms_; }
  std::string ProgramName(int index) const;
  bool LoadProgram(int index);
  int CurrentProgram() const;

  // Editor: Open embeds it in the host's window (an X11 window id or an HWND).
  bool OpenEditor(intptr_t parent);
  void CloseEditor();
  bool EditorOpen() const { return editorOpen_; }
  // The editor's size on the screen now, in device pixels, with a zoom the user chose in
  // another instance since taken up; its size at 100 % when the plug-in has no editor.
  void EditorDeviceSize(int& width, int& height);
  // Hands the host's display scale to the editor. False when the plug-in has no editor;
  // resize then tells whether an open window has taken another size, which the binding
  // asks its host for (EditorDeviceSize).
  bool SetEditorHostScale(double scale, bool& resize);
  // Where the plug-in's own requests for a new editor size go (its screen's scale at open,
  // the user's zoom); null refuses them. The binding clears it before it goes away.
  void SetEditorResizer(EditorResizer* resizer) { resizer_.store(resizer); }

  VSTCLASS& Plugin() { return *plugin_; }

 private:
  HostedEffect(const HostIdentity& host, GestureSink* sink);
  static intptr_t HostCallback(vst::AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                               void* ptr, float opt);
  intptr_t AnswerHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  const vst::VstTimeInfo* TimeInfo();
  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f);

  void ProcessSegment(const AudioBlock& block, uint32_t offset, uint32_t frames);
  void ApplyEvent(const BlockEvent& event);
  void SilenceOutputs(const AudioBlock& block);
  int CountFactoryPrograms() const;

  HostIdentity host_;
  GestureSink* sink_;
  vst::AEffect* effect_ = nullptr;
  VSTCLASS* plugin_ = nullptr;
  double defaults_[dsp::kParamCount] = {};
  int factoryPrograms_ = 0;

  bool active_ = false;
  bool editorOpen_ = false;
  std::atomic<EditorResizer*> resizer_{nullptr};
  double sampleRate_ = 44100.0;
  uint32_t maxFrames_ = 0;
  int inputChannels_ = 2;
  int outputChannels_ = 2;

  // The transport of the segment being processed, with its offset inside the block.
  Transport transport_;
  uint32_t segmentOffset_ = 0;
  vst::VstTimeInfo timeInfo_{};
};

}  // namespace velmora::binding
