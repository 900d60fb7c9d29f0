// The note-length rule shared by "Delay Rate" and both sweep rates: a list index becomes a
// fraction of a whole note. Every third step doubles the length; between them sit the
// triplet of the next longer note and the dotted note.
#pragma once

namespace velmora::dsp {

constexpr double kDelayRateBase = 1.0 / 64.0;
constexpr double kSweepRateBase = 1.0 / 32.0;

// With q = index div 3 and r = index mod 3: r = 0 gives base x 2^q, r = 1 gives
// base x 2^(q+1) x 2/3, r = 2 gives base x 2^q x 3/2. Evaluated in double and stored in
// single precision, as every caller keeps it. Negative indices count as 0.
float NoteLength(int index, double base);

}  // namespace velmora::dsp
