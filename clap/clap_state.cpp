// The state extension: the VST 2 plug-in's 180-byte chunk, written and read whole. A stream
// that is empty, shorter, longer or not ours is refused and changes nothing.
#include "binding/state_chunk.h"
#include "clap/clap_extensions.h"
#include "clap/clap_plugin.h"

namespace velmora::clap {
namespace {

bool Save(const Plugin* plugin, const OutputStream* stream) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  if (self == nullptr || stream == nullptr || stream->write == nullptr ||
      !self->OnMainThreadCheck()) {
    return false;
  }
  uint8_t bytes[binding::kStateSize];
  if (self->Effect().SaveState(bytes, sizeof(bytes)) != sizeof(bytes)) {
    return false;
  }
  // A stream may take fewer bytes than offered; the rest goes in further writes.
  size_t written = 0;
  while (written < sizeof(bytes)) {
    const int64_t n = stream->write(stream, bytes + written, sizeof(bytes) - written);
    if (n <= 0 || static_cast<uint64_t>(n) > sizeof(bytes) - written) {
      return false;
    }
    written += static_cast<size_t>(n);
  }
  return true;
}

// Reads until the stream ends; one byte more than a chunk holds already makes it foreign.
bool Load(const Plugin* plugin, const InputStream* stream) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  if (self == nullptr || stream == nullptr || stream->read == nullptr ||
      !self->OnMainThreadCheck()) {
    return false;
  }
  uint8_t bytes[binding::kStateSize + 1];
  size_t size = 0;
  while (size < sizeof(bytes)) {
    const int64_t n = stream->read(stream, bytes + size, sizeof(bytes) - size);
    if (n < 0 || static_cast<uint64_t>(n) > sizeof(bytes) - size) {
      return false;
    }
    if (n == 0) {
      break;
    }
    size += static_cast<size_t>(n);
  }
  if (!self->Effect().LoadState(bytes, size)) {
    return false;
  }
  self->ValuesChanged();
  return true;
}

}  // namespace

const PluginState kStateExtension = {&Save, &Load};

}  // namespace velmora::clap
