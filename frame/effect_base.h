// The host-independent half of the plug-in frame: parameters, programs, channels, names,
// version and the instance lock. IEffectVST binds it to the VST 2 interface and the plug-in
// class derives from that. One object per host instance; instances share nothing.
//
// Threads: the host's audio thread (process callbacks), its main thread (dispatcher and the
// parameter callbacks) and the editor's thread all enter the object. Every entry holds the
// recursive instance lock for its whole duration, so they never interleave.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "frame/editor_link.h"
#include "frame/effect_channel.h"
#include "frame/effect_chunk.h"
#include "frame/effect_param.h"
#include "frame/effect_preset.h"
#include "frame/recursive_lock.h"

namespace velmora {

// What a plug-in class tells the frame about itself when it is constructed.
struct EffectSetup {
  int numParams = 0;
  const char* channelIO = "";  // allowed channel pairs, e.g. "1-1 2-2"
  int numPrograms = 0;
  const char* effectName = "";
  const char* productName = "";
  const char* vendorName = "";
  int32_t version = 0;  // major << 16 | minor << 8 | patch level
  int32_t uniqueId = 0;
  int32_t manufacturerCode = 0;
  int latency = 0;  // samples
  int midiCapability = 0;
  bool usesChunks = false;
  bool isInstrument = false;
};

class IEffectBase {
 public:
  static constexpr int kNameSize = 128;
  // Each parameter's value in a program state or chunk: one 8-byte double.
  static constexpr int kParamValueBytes = 8;

  explicit IEffectBase(const EffectSetup& setup);
  virtual ~IEffectBase();
  IEffectBase(const IEffectBase&) = delete;
  IEffectBase& operator=(const IEffectBase&) = delete;

  // Engine hooks. The base versions only take and release the lock.
  virtual void ResetEngine();
  virtual void ApplyParameter(int index);
  // Copies input i to output i where both exist and silences the other outputs.
  virtual void ProcessBlock(double** inputs, double** outputs, int frames);
  virtual void EditorOpened() {}
  virtual void EditorClosed() {}
  virtual void BeforeClose() {}
  virtual void SetActive(bool active);
  virtual void ReceiveMidi(int offset, int status, int data1, int data2);
  virtual void ReceiveSysEx(int offset, int byteCount, const uint8_t* bytes);
  // Writes the name of a MIDI key into a 64-byte buffer; this frame names none.
  virtual bool NameMidiKey(int key, char* text);
  virtual bool SaveState(IEffectChunk& chunk);
  virtual int LoadState(const IEffectChunk& chunk, int position);
  virtual void ChunkVersionRead(int version);

  // Host-facing operations, supplied by the host binding.
  virtual void BeginParamEdit(int index) = 0;
  virtual void ContinueParamEdit(int index) = 0;
  virtual void AutomateParam(int index, double normalised) = 0;
  virtual void EndParamEdit(int index) = 0;
  // The host's song position in whole samples, 64 bits wide; 0 when unknown or negative.
  virtual int64_t HostSamplePosition() = 0;
  // The host's tempo in beats per minute; 0 when unknown.
  virtual double HostTempo() = 0;
  virtual int HostKind();
  virtual void HostSpecificSetup() = 0;
  // Asks the host to give the open editor a window of this size in device pixels (the
  // editor's scale changed); true when the host granted it. The base knows no host.
  virtual bool RequestEditorSize(int width, int height) {
    (void)width;
    (void)height;
    return false;
  }

  // Takes ownership of the editor, shows it every parameter and lets it prepare itself.
  virtual void AttachEditor(EditorLink* editor);
  // Resizes every scratch buffer to frames samples, at most kMaxBlockLength (zeroed).
  // Counts below 1, and sizes that cannot be allocated, leave the buffers as they are.
  virtual void SetBlockLength(int frames);
  virtual bool WriteParams(IEffectChunk& chunk);
  virtual int ReadParams(const IEffectChunk& chunk, int position);

  RecursiveLock& InstanceLock() { return lock_; }

  // Names, identity and version.
  const char* EffectName() const { return effectName_; }
  const char* ProductName() const { return productName_; }
  const char* VendorName() const { return vendorName_; }
  int32_t UniqueId() const { return uniqueId_; }
  int32_t ManufacturerCode() const { return manufacturerCode_; }
  // The stored version, or in decimal form major x 10000 + minor x 100 + patch level.
  int32_t VersionNumber(bool decimal) const;
  // "v<major>.<minor, two digits>", e.g. v1.00.
  void VersionText(char* text, int size) const;
  int HostVersion() const { return hostVersion_; }
  int MidiCapability() const { return midiCapability_; }
  bool UsesChunks() const { return usesChunks_; }
  bool IsInstrument() const { return isInstrument_; }
  int Latency() const { return latency_; }

  // Parameters.
  int NumParams() const { return static_cast<int>(params_.size()); }
  IEffectParam* Param(int index);
  const IEffectParam* Param(int index) const;
  bool IsValidParam(int index) const { return index >= 0 && index < NumParams(); }
  void ApplyAllParameters();
  // The host's setParameter: values that are not finite are ignored, others cut to 0..1.
  void SetParamFromHost(int index, double normalised);
  // The host's getParameter: the normalised value, 0 for an invalid index.
  double ParamForHost(int index);

  // Parameter changes and edit gestures coming from the editor.
  void SetParamFromEditor(int index, double normalised);
  void ScheduleEndParamEdit(int index);
  void FlushPendingParamEdit();
  void RefreshEditorControls();
  int PendingParamEdit() const { return pendingParam_; }
  EditorLink* Editor() const { return editor_.get(); }

  // Programs. Names hold at most 255 characters; longer ones are cut.
  int NumPrograms() const { return static_cast<int>(programs_.size()); }
  int CurrentProgram() const { return currentProgram_; }
  const IEffectPreset* Program(int index) const;
  // Takes the first unused program, names it and stores the given real values, one per
  // parameter in index order (integer kinds take the whole part). Missing values keep the
  // current value of their parameter; extra ones are ignored. Does nothing when all
  // programs are in use.
  void AddProgram(const char* name, std::initializer_list<double> values);
  void AddProgram(const char* name, const double* values, int count);
  // Marks the next count unused programs as in use under name ("Default" when null); their
  // values are stored the first time the host leaves them.
  void NameDefaultPrograms(const char* name, int count);
  // Gives a plug-in built without programs a single one, named "Default".
  void EnsureOneProgram();
  // Makes program index current: an unused one is taken into use under the next
  // "user preset N" name and keeps the current values; a used one is loaded.
  bool LoadProgram(int index);
  // Saves the current values into the current program and renames it when name is a
  // non-empty text.
  void StoreCurrentProgram(const char* name);
  // "user preset N", N one more than the programs already named so; text holds 256 bytes.
  void NextUserProgramName(char* text) const;
  // The program's name, or the empty text for an index outside the list.
  const char* ProgramName(int index) const;

  // Sample rate and block length.
  double SampleRate() const { return sampleRate_; }
  void SetSampleRate(double rate) { sampleRate_ = rate; }
  // The scratch buffers' length in frames; longer host blocks are processed in slices.
  int BlockLength() const { return blockLength_; }
  // The longest block the scratch buffers take, however long a block the host announces:
  // four buffers of 2^31 - 1 doubles would be 64 GB.
  static constexpr int kMaxBlockLength = 8192;

  // Channels.
  int NumInputs() const { return static_cast<int>(inputs_.size()); }
  int NumOutputs() const { return static_cast<int>(outputs_.size()); }
  const std::vector<ChannelPair>& ChannelPairs() const { return channelPairs_; }
  // True if some allowed pair matches both counts; a negative count matches any.
  bool LegalChannels(int inputs, int outputs) const;
  void SetInputConnections(int first, int count, bool connected);
  void SetOutputConnections(int first, int count, bool connected);
  bool InputConnected(int index) const;
  bool OutputConnected(int index) const;

 protected:
  std::vector<IEffectChannel>& InputChannels() { return inputs_; }
  std::vector<IEffectChannel>& OutputChannels() { return outputs_; }
  // The plug-side pointer arrays handed to ProcessBlock: entry i belongs to channel i.
  double** InputPointers() { return inputPointers_.data(); }
  double** OutputPointers() { return outputPointers_.data(); }
  std::vector<double*>& InputPointerList() { return inputPointers_; }
  std::vector<double*>& OutputPointerList() { return outputPointers_; }
  // Deletes the attached editor. The plug-in class and the host binding call it from their
  // destructors, so an editor that ends an edit gesture while it closes still reaches a
  // complete plug-in.
  void DeleteEditor();
  void StoreHostKind(int kind, int version);
  int StoredHostKind() const { return hostKind_; }
  void AddProgramRecord();

 private:
  static void SetConnections(std::vector<IEffectChannel>& channels, std::vector<double*>& pointers,
                             int first, int count, bool connected);
  void CreateChannels(const char* channelIO);

  std::vector<IEffectParam> params_;
  std::vector<IEffectPreset> programs_;
  int currentProgram_ = 0;
  int pendingParam_ = -1;
  RecursiveLock lock_;
  char effectName_[kNameSize] = {};
  char productName_[kNameSize] = {};
  char vendorName_[kNameSize] = {};
  int32_t uniqueId_ = 0;
  int32_t manufacturerCode_ = 0;
  int32_t version_ = 0;
  int hostKind_ = -1;
  int hostVersion_ = 0;
  int midiCapability_ = 0;
  bool usesChunks_ = false;
  bool isInstrument_ = false;
  double sampleRate_ = 44100.0;
  int blockLength_ = 0;
  int latency_ = 0;
  std::unique_ptr<EditorLink> editor_;
  std::vector<ChannelPair> channelPairs_;
  std::vector<IEffectChannel> inputs_;
  std::vector<IEffectChannel> outputs_;
  std::vector<double*> inputPointers_;
  std::vector<double*> outputPointers_;
};

}  // namespace velmora
