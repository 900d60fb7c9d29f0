// What the host tells a plug-in about itself and its transport when asked through the
// host callback: identity, sample rate, block size, tempo and song position.
#pragma once

#include <cstdint>
#include <string>

namespace velmora::host {

struct HostConfig {
  double sampleRate = 44100.0;
  int32_t blockSize = 512;

  double tempo = 120.0;
  // Whether time info carries kVstTempoValid; without it a plug-in must treat the tempo as
  // unknown, which is worth testing on its own.
  bool tempoValid = true;
  double samplePosition = 0.0;
  // Move the song position on by every processed block, as a playing host does.
  bool advancePosition = true;
  bool playing = true;
  int32_t timeSigNumerator = 4;
  int32_t timeSigDenominator = 4;

  std::string productString = "Velmora Host";
  std::string vendorString = "Velmora";
  // major x 10000 + minor x 100 + patch.
  int32_t vendorVersion = 10000;
  // Whether audioMasterSizeWindow (index = width, value = height) is answered 1, granted;
  // the request is in the call log either way, for whoever shows the editor to follow.
  bool grantsSizeWindow = false;
};

}  // namespace velmora::host
