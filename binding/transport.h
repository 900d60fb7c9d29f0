// The host's transport as a plug-in binding learns it, in the units the VST 2 time queries
// answer in. A binding fills one per block (and per transport change inside a block); the
// hosted plug-in reads it through its time queries, so every format feeds the engine the
// same numbers for the same tempo and position.
#pragma once

namespace velmora::binding {

struct Transport {
  // Without a valid tempo the plug-in plays as under a VST 2 host that reports none.
  bool tempoValid = false;
  double tempo = 0.0;  // beats per minute
  // Song position at the block's (or the change's) first frame.
  double samplePosition = 0.0;
  bool beatPositionValid = false;
  double beatPosition = 0.0;  // quarter notes
  // A playing transport moves the position on with the frames processed inside a block.
  bool playing = false;

  bool TempoUsable() const;
};

// The transport frames later (earlier for a negative count): a playing one's positions move
// on with them, the beat position at its tempo where that is usable.
Transport Advanced(const Transport& transport, double frames, double sampleRate);

}  // namespace velmora::binding
