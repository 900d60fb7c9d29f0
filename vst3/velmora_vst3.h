// Velmora as a VST 3 plug-in: one object that is the audio component, its processor and its
// own edit controller. It runs the VST 2 plug-in class through binding::HostedEffect, so it
// computes the same samples and shows the same texts, programs and editor.
//
// Why one object: the plug-in class keeps parameters, programs, state and engine together
// behind one instance lock, so a separate controller would only mirror that store through
// messages. Ardour 7 and Qtractor 0.9 ask the component for the controller interface first
// and use the component itself when it answers (and both cope with terminate() reaching
// the object twice); getControllerClassId() therefore reports no separate class, and the
// class is not marked distributable.
//
// Threads: initialize, terminate, the bus and set-up calls, setActive and every controller
// and unit call come from the host's UI thread; process() from its audio thread. The editor
// (X11: a thread of its own) produces edit gestures; they reach the host's component handler
// on the host's UI thread (see GestureRelay).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "binding/hosted_effect.h"
#include "vst3/abi/vst3_controller.h"
#include "vst3/abi/vst3_processing.h"
#include "vst3/gesture_relay.h"

namespace velmora::vst3 {

// The component and the controller both declare setState and getState with the same
// signature; these two halves give each pair a name of its own.
class ComponentHalf : public IComponent {
 public:
  tresult VELMORA_VST3_CALL setState(IBStream* state) final { return SetComponentState(state); }
  tresult VELMORA_VST3_CALL getState(IBStream* state) final { return GetComponentState(state); }

 protected:
  virtual tresult SetComponentState(IBStream* state) = 0;
  virtual tresult GetComponentState(IBStream* state) = 0;
};

class ControllerHalf : public IEditController {
 public:
  tresult VELMORA_VST3_CALL setState(IBStream* state) final { return SetControllerState(state); }
  tresult VELMORA_VST3_CALL getState(IBStream* state) final { return GetControllerState(state); }

 protected:
  virtual tresult SetControllerState(IBStream* state) = 0;
  virtual tresult GetControllerState(IBStream* state) = 0;
};

// Parameter identifiers: the 22 effect parameters keep their VST 2 indexes; the program
// list's selector and the host bypass follow.
constexpr ParamID kProgramParamId = 22;
constexpr ParamID kBypassParamId = 23;
constexpr int32_t kParameterCount = 24;
constexpr ProgramListID kProgramListId = 1;

class VelmoraVst3 final : public ComponentHalf,
                          public IAudioProcessor,
                          public ControllerHalf,
                          public IUnitInfo,
                          public IProcessContextRequirements {
 public:
  // A new object with one reference; null when memory is short.
  static VelmoraVst3* Create();

  // FUnknown.
  tresult VELMORA_VST3_CALL queryInterface(const char* iid, void** object) override;
  uint32_t VELMORA_VST3_CALL addRef() override;
  uint32_t VELMORA_VST3_CALL release() override;

  // IPluginBase, shared by the component and the controller: the second initialize() of a
  // host that initialises both halves succeeds without building a second instance, and
  // terminate() may come twice.
  tresult VELMORA_VST3_CALL initialize(FUnknown* context) override;
  tresult VELMORA_VST3_CALL terminate() override;

  // IComponent.
  tresult VELMORA_VST3_CALL getControllerClassId(char* classId) override;
  tresult VELMORA_VST3_CALL setIoMode(int32_t mode) override;
  int32_t VELMORA_VST3_CALL getBusCount(int32_t type, int32_t direction) override;
  tresult VELMORA_VST3_CALL getBusInfo(int32_t type, int32_t direction, int32_t index,
                                       BusInfo& bus) override;
  tresult VELMORA_VST3_CALL getRoutingInfo(RoutingInfo& in, RoutingInfo& out) override;
  tresult VELMORA_VST3_CALL activateBus(int32_t type, int32_t direction, int32_t index,
                                        TBool state) override;
  tresult VELMORA_VST3_CALL setActive(TBool state) override;

  // IAudioProcessor (vst3_audio.cpp).
  tresult VELMORA_VST3_CALL setBusArrangements(SpeakerArrangement* inputs, int32_t numIns,
                                               SpeakerArrangement* outputs,
                                               int32_t numOuts) override;
  tresult VELMORA_VST3_CALL getBusArrangement(int32_t direction, int32_t index,
                                              SpeakerArrangement& arrangement) override;
  tresult VELMORA_VST3_CALL canProcessSampleSize(int32_t symbolicSampleSize) override;
  uint32_t VELMORA_VST3_CALL getLatencySamples() override;
  tresult VELMORA_VST3_CALL setupProcessing(ProcessSetup& setup) override;
  tresult VELMORA_VST3_CALL setProcessing(TBool state) override;
  tresult VELMORA_VST3_CALL process(ProcessData& data) override;
  uint32_t VELMORA_VST3_CALL getTailSamples() override;

  // IProcessContextRequirements.
  uint32_t VELMORA_VST3_CALL getProcessContextRequirements() override;

  // IEditController (vst3_controller.cpp).
  tresult VELMORA_VST3_CALL setComponentState(IBStream* state) override;
  int32_t VELMORA_VST3_CALL getParameterCount() override;
  tresult VELMORA_VST3_CALL getParameterInfo(int32_t index, ParameterInfo& info) override;
  tresult VELMORA_VST3_CALL getParamStringByValue(ParamID id, ParamValue normalized,
                                                  String128 text) override;
  tresult VELMORA_VST3_CALL getParamValueByString(ParamID id, char16* text,
                                                  ParamValue& normalized) override;
  ParamValue VELMORA_VST3_CALL normalizedParamToPlain(ParamID id, ParamValue normalized) override;
  ParamValue VELMORA_VST3_CALL plainParamToNormalized(ParamID id, ParamValue plain) override;
  ParamValue VELMORA_VST3_CALL getParamNormalized(ParamID id) override;
  tresult VELMORA_VST3_CALL setParamNormalized(ParamID id, ParamValue normalized) override;
  tresult VELMORA_VST3_CALL setComponentHandler(IComponentHandler* handler) override;
  IPlugView* VELMORA_VST3_CALL createView(const char* name) override;

  // IUnitInfo (vst3_units.cpp): one unit holding one program list of all 60 programs.
  int32_t VELMORA_VST3_CALL getUnitCount() override;
  tresult VELMORA_VST3_CALL getUnitInfo(int32_t index, UnitInfo& info) override;
  int32_t VELMORA_VST3_CALL getProgramListCount() override;
  tresult VELMORA_VST3_CALL getProgramListInfo(int32_t index, ProgramListInfo& info) override;
  tresult VELMORA_VST3_CALL getProgramName(ProgramListID list, int32_t program,
                                           String128 name) override;
  tresult VELMORA_VST3_CALL getProgramInfo(ProgramListID list, int32_t program,
                                           const char* attribute, String128 value) override;
  tresult VELMORA_VST3_CALL hasProgramPitchNames(ProgramListID list, int32_t program) override;
  tresult VELMORA_VST3_CALL getProgramPitchName(ProgramListID list, int32_t program, int16_t pitch,
                                                String128 name) override;
  UnitID VELMORA_VST3_CALL getSelectedUnit() override;
  tresult VELMORA_VST3_CALL selectUnit(UnitID unit) override;
  tresult VELMORA_VST3_CALL getUnitByBus(int32_t type, int32_t direction, int32_t bus,
                                         int32_t channel, UnitID& unit) override;
  tresult VELMORA_VST3_CALL setUnitProgramData(int32_t listOrUnit, int32_t program,
                                               IBStream* data) override;

  // For the view: the hosted instance (null before initialize) and the gesture relay.
  binding::HostedEffect* Effect() { return effect_.get(); }
  GestureRelay& Gestures() { return gestures_; }

 protected:
  tresult SetComponentState(IBStream* state) override;
  tresult GetComponentState(IBStream* state) override;
  tresult SetControllerState(IBStream* state) override;
  tresult GetControllerState(IBStream* state) override;

 private:
  VelmoraVst3() = default;
  ~VelmoraVst3();

  // The program selector: storing the current values first, as a VST 2 program change
  // does. Tells the host that every value changed. UI thread.
  void SelectProgram(int program);
  int CurrentProgram();
  int ChannelsOf(int32_t direction) const;
  // Reads the host's parameter queues into events_, sorted by offset; returns the count.
  // The bypass and program selectors act at the block's start.
  uint32_t CollectEvents(IParameterChanges* changes, uint32_t frames);
  void ProcessInSlices(const binding::AudioBlock& block, const binding::Transport& transport,
                       uint32_t count);

  std::atomic<uint32_t> references_{1};
  std::unique_ptr<binding::HostedEffect> effect_;
  GestureRelay gestures_;
  bool active_ = false;
  double sampleRate_ = 44100.0;
  int32_t maxBlock_ = 1024;
  int32_t sampleSize_ = kSample32;
  SpeakerArrangement arrangement_ = kArrangementStereo;
  std::atomic<bool> bypass_{false};

  static constexpr uint32_t kMaxEvents = 4096;
  binding::BlockEvent events_[kMaxEvents];
};

}  // namespace velmora::vst3
