// Recognising the host from the product string it reports. A few hosts need special
// treatment; the result is a small identifier, 0 for a host the table does not know.
#pragma once

namespace velmora {

enum HostIdentifier : int {
  kHostNotIdentified = -1,
  kHostUnknown = 0,
  kHostReaper = 1,
  kHostCubase = 3,
  kHostNuendo = 4,
  kHostCakewalk = 5,
  kHostFruity = 7,
  kHostSamplitude = 8,
  kHostLive = 9,
  kHostMelodyne = 12,
  kHostVstManLib = 13,
  kHostAuLab = 14,
  kHostForte = 15,
  kHostChainer = 16,
  kHostAudition = 17,
  kHostOrion = 18,
  kHostSawStudio = 20,
  kHostLogic = 21,
  kHostDigital = 22,
  kHostAudioMulch = 23,
  kHostPresonus = 24,
  kHostAcoustica = 25,
  kHostGarageBand = 26,
  kHostArdour = 27,
};

// Lower-cases the text and returns the identifier of the first table name found in it.
// Reads at most 255 characters of text; null or empty gives kHostUnknown.
int IdentifyHost(const char* productString);

// The host's vendor version major x 10000 + minor x 100 + patch, re-packed as
// major << 16 | minor << 8 | patch; values that cannot be packed give 0.
int PackHostVersion(long long decimalVersion);

}  // namespace velmora
