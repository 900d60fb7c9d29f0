// The byte layout of every state chunk, in one place. All numbers are little-endian.
//
//   program state (each program's record):  22 x double, the real parameter values in index
//                                           order: 176 bytes
//   host chunk (effGetChunk / effSetChunk): int32 version (10000 for 1.0.0), then the
//                                           program state: 180 bytes
//
// The bank form (index 0) and the program form of the host chunk carry the same content: the
// current values only, never the program list. The bytes handed out stay valid until the next
// request of the same form.
#include <climits>
#include <cmath>

#include "frame/effect_base.h"
#include "frame/effect_vst.h"

namespace velmora {

bool IEffectBase::SaveState(IEffectChunk& chunk) {
  return WriteParams(chunk);
}

int IEffectBase::LoadState(const IEffectChunk& chunk, int position) {
  return ReadParams(chunk, position);
}

void IEffectBase::ChunkVersionRead(int) {
  LockGuard guard(lock_);
}

bool IEffectBase::WriteParams(IEffectChunk& chunk) {
  LockGuard guard(lock_);
  bool written = true;
  for (const IEffectParam& param : params_) {
    written = chunk.AppendDouble(param.Value()) && !chunk.Empty() && written;
  }
  return written;
}

// Reads the values in index order from position on. When the chunk runs out, the parameter
// at which it ran out keeps its current value (nobody saved a value for it) and reading stops
// with -1; values that are not finite numbers are skipped the same way. Every parameter is
// re-applied afterwards, so the engine always matches the store.
int IEffectBase::ReadParams(const IEffectChunk& chunk, int position) {
  LockGuard guard(lock_);
  for (IEffectParam& param : params_) {
    if (position < 0) {
      break;
    }
    double value = 0.0;
    if (!chunk.ReadDouble(position, &value)) {
      position = -1;
      break;
    }
    position += 8;
    if (std::isfinite(value)) {
      param.SetClampedValue(value);
    }
  }
  ApplyAllParameters();
  return position;
}

intptr_t IEffectVST::OnGetChunk(const DispatchCall& call) {
  if (call.ptr == nullptr) {
    return 0;
  }
  const bool isBank = call.index == 0;
  IEffectChunk& chunk = isBank ? bankChunk_ : programChunk_;
  chunk.Clear();
  chunk.AppendInt32(VersionNumber(true));
  if (isBank) {
    StoreCurrentProgram(nullptr);
  }
  if (!SaveState(chunk) || chunk.Empty()) {
    return 0;
  }
  *static_cast<void**>(call.ptr) = chunk.Data();
  return chunk.Size();
}

intptr_t IEffectVST::OnSetChunk(const DispatchCall& call) {
  // A negative or absurd byte count is no chunk: refuse it before touching anything.
  if (call.ptr == nullptr || call.value < 0 || call.value > INT_MAX) {
    return 0;
  }
  IEffectChunk& chunk = call.index == 0 ? bankChunk_ : programChunk_;
  if (!chunk.Assign(call.ptr, static_cast<int>(call.value))) {
    return 0;
  }
  int32_t version = 0;
  int position = chunk.ReadInt32(0, &version) ? 4 : -1;
  position = LoadState(chunk, position);
  ChunkVersionRead(version);
  if (position < 0) {
    return 0;
  }
  RefreshEditorControls();
  return 1;
}

}  // namespace velmora
