#include "frame/host_identity.h"

#include <cstring>

#include "frame/text_field.h"

namespace velmora {
namespace {

struct HostName {
  const char* text;
  int identifier;
};

// Tried in this order; the first match wins, so a string naming two hosts gets the earlier.
const HostName kHostNames[] = {
    {"cubase", kHostCubase},     {"reaper", kHostReaper},         {"nuendo", kHostNuendo},
    {"cakewalk", kHostCakewalk}, {"samplitude", kHostSamplitude}, {"fruity", kHostFruity},
    {"live", kHostLive},         {"melodyne", kHostMelodyne},     {"vstmanlib", kHostVstManLib},
    {"aulab", kHostAuLab},       {"forte", kHostForte},           {"chainer", kHostChainer},
    {"audition", kHostAudition}, {"orion", kHostOrion},           {"sawstudio", kHostSawStudio},
    {"logic", kHostLogic},       {"digital", kHostDigital},       {"audiomulch", kHostAudioMulch},
    {"presonus", kHostPresonus}, {"acoustica", kHostAcoustica},   {"garageband", kHostGarageBand},
    {"ardour", kHostArdour},
};

constexpr size_t kProductStringSize = 256;

// The C locale's lower-case mapping, spelled out so the process locale cannot change it.
char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

int IdentifyHost(const char* productString) {
  // Only the text is lowered: the bytes after its terminator were never written.
  char lowered[kProductStringSize];
  CopyText(lowered, sizeof(lowered), productString);
  for (char* c = lowered; *c != '\0'; ++c) {
    *c = LowerAscii(*c);
  }
  if (lowered[0] == '\0') {
    return kHostUnknown;
  }
  for (const HostName& name : kHostNames) {
    if (std::strstr(lowered, name.text) != nullptr) {
      return name.identifier;
    }
  }
  return kHostUnknown;
}

int PackHostVersion(long long decimalVersion) {
  // Largest value whose major part still fits the upper 15 bits of an int.
  constexpr long long kLargest = 32767LL * 10000 + 9999;
  if (decimalVersion < 0 || decimalVersion > kLargest) {
    return 0;
  }
  const int major = static_cast<int>(decimalVersion / 10000);
  const int minor = static_cast<int>(decimalVersion % 10000 / 100);
  const int patch = static_cast<int>(decimalVersion % 100);
  return major * 65536 + minor * 256 + patch;
}

}  // namespace velmora
