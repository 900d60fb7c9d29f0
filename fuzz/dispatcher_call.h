// Turns one fuzzed record into a call a real host could make: opcode, index, value and opt
// come from the record, and every pointer the call carries points at memory this runner
// owns, filled from the record's payload. No fuzzed number is ever passed as a pointer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "frame/vst2.h"
#include "fuzz/dispatcher_record.h"
#include "fuzz/fuzz_host.h"

namespace velmora::fuzz {

enum class CallKind {
  kPlain,         // no pointer
  kBuffer,        // ptr: a buffer holding the payload as a terminated text, room for answers
  kChunkIn,       // ptr: the payload, value: its length (or the record's value when smaller)
  kChunkOut,      // ptr: where the plug-in stores its chunk's address
  kEditRect,      // ptr: where the plug-in stores its rectangle's address
  kSpeakersSet,   // value and ptr: arrangements with index and value as channel counts
  kSpeakersGet,   // value and ptr: where the plug-in stores its arrangements' addresses
  kEvents,        // ptr: a list of MIDI, SysEx and other events built from the payload
  kRawOpcode,     // any opcode the plug-in does not serve, taken from the record's index
  kProcess,       // audio through one of the three callbacks, chosen by the flags
  kSetParameter,  // setParameter(index, opt)
  kGetParameter,  // getParameter(index)
  kHostTime,      // changes the host: tempo, song position, product string, version
};

struct CallAction {
  int32_t opcode;
  CallKind kind;
};

// The table a record's action byte indexes (modulo its length).
const std::vector<CallAction>& CallActions();
// The action byte that selects an opcode or a pseudo-call, for writing seeds.
uint8_t ActionByte(CallKind kind, int32_t opcode = -1);

// Record flags.
constexpr uint8_t kNullPointer = 1;       // ptr (or the chunk) is null
constexpr uint8_t kNullValuePointer = 2;  // the pointer passed in value is null
constexpr uint8_t kInPlace = 4;           // audio: outputs are the input buffers
constexpr uint8_t kDoublePath = 8;        // audio: the double-precision callback
constexpr uint8_t kNoInputArray = 16;     // audio: the host passes no input array at all
constexpr uint8_t kAccumulating = 32;     // audio: the old accumulating callback (float only)
// Texts: the buffer is a heap block of exactly the size a conventional host passes (24 bytes
// for program names, 64 for the other names and texts), so the address sanitizer reports
// any write or read beyond it.
constexpr uint8_t kHostSizedText = 64;

// The size of a conventional host's buffer for a text opcode; 0 for opcodes that pass no
// text. Program names are kept up to 255 characters: a host that renamed a program beyond
// the 23 characters of the convention passes name buffers that hold the name it gave.
size_t HostTextSize(int32_t opcode, bool longProgramNames);

class CallRunner {
 public:
  CallRunner(FuzzInstance& instance, FuzzHost& host) : instance_(instance), host_(host) {}

  void Run(const DispatcherRecord& record);
  // True once audio that no real signal carries went in: non-finite or enormous samples.
  // Until then every output sample must be finite.
  bool FedExtremeAudio() const { return fedExtremeAudio_; }

 private:
  void* FillBuffer(const DispatcherRecord& record);
  void* FillHostSizedText(const DispatcherRecord& record, size_t size);
  intptr_t Dispatch(const DispatcherRecord& record, void* ptr, intptr_t value);
  void SetChunk(const DispatcherRecord& record);
  void GetChunk(const DispatcherRecord& record);
  void EditRect(const DispatcherRecord& record);
  void SetSpeakers(const DispatcherRecord& record);
  void GetSpeakers(const DispatcherRecord& record);
  void SendEvents(const DispatcherRecord& record);
  void RawOpcode(const DispatcherRecord& record);
  void ChangeHost(const DispatcherRecord& record);
  void Process(const DispatcherRecord& record);
  template <typename Sample>
  void ProcessPath(const DispatcherRecord& record, int32_t frames);

  FuzzInstance& instance_;
  FuzzHost& host_;
  bool fedExtremeAudio_ = false;
  alignas(16) uint8_t buffer_[4096] = {};
  std::unique_ptr<char[]> hostText_;
  bool longProgramNames_ = false;  // a rename of 24 characters or more was sent
};

}  // namespace velmora::fuzz
