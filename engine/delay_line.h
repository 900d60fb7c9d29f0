// The mono delay line all three taps read from: a ring of double samples, written once per
// processed sample at writeIndex and read at a distance behind it.
#pragma once

#include <cstdint>

namespace velmora::dsp {

// The longest line the engine allocates: 2^26 samples (512 MiB of doubles). It holds the
// full 80 beats at 20 beats per minute and 192 kHz (46,080,000 samples) with room to
// spare. A tempo or rate that asks for more is treated like a host without a valid tempo.
constexpr int64_t kMaxDelayLineLength = int64_t{1} << 26;

// round(20 x samplesPerWhole), that is 80 beats; -1 when that is not a finite
// non-negative number or exceeds kMaxDelayLineLength.
int64_t DelayLineLengthFor(double samplesPerWhole);

// Samples a line holds beyond its length when it has to grow: half as many again, enough
// for the tempo to fall to two thirds of the one the line was sized for.
constexpr double kLineHeadroom = 1.5;

// Runs of silence a cursor hands out for reads that reach back before the last clear.
constexpr int kSilentRunLength = 256;

// The line is cleared in constant time: it remembers whether writing has gone all the way
// round since the last clear. Until it has, only the samples behind the write position were
// written since the clear (writing restarts at 0 with every clear); every read beyond them
// gives silence without touching memory, exactly as a zeroed line would.
class DelayLine {
 public:
  DelayLine() = default;
  ~DelayLine();
  DelayLine(const DelayLine&) = delete;
  DelayLine& operator=(const DelayLine&) = delete;

  // Makes the line length samples long (max(1, length) held) and clears it. Memory is only
  // allocated when length exceeds what is held, and then with kLineHeadroom to spare.
  // Allocation never throws; on failure (or a length outside 0..kMaxDelayLineLength) the
  // line becomes a zero-length line and false is returned.
  bool Allocate(int64_t length);

  // Makes sure at least samples samples are held, without changing the length. Growing
  // clears the line. False when the memory cannot be had; the line is then as before.
  bool Reserve(int64_t samples);

  // Silences every sample and moves writing to the start, in constant time.
  void Clear() {
    writeIndex_ = 0;
    wrapped_ = false;
  }

  bool Allocated() const { return allocated_; }
  int Length() const { return length_; }
  int WriteIndex() const { return writeIndex_; }
  int64_t Capacity() const { return capacity_; }

  // A working copy of the line's read and write state for one block, so the per-sample
  // loop keeps it in registers; Commit stores the advanced write position back.
  class Cursor {
   public:
    explicit Cursor(DelayLine& line)
        : samples_(line.samples_),
          length_(line.length_),
          wrapLength_(line.wrapLength_),
          writeIndex_(line.writeIndex_),
          wrapped_(line.wrapped_) {}

    // The sample d samples behind the write position (d in 0..length). Before writing has
    // gone round, only distances 1..writeIndex reach a sample written since the clear.
    double Read(int d) const {
      if (!wrapped_ && static_cast<unsigned>(d - 1) >= static_cast<unsigned>(writeIndex_)) {
        return 0.0;
      }
      int i = writeIndex_ - d;
      if (i < 0) {
        i += length_;
      }
      return samples_[i];
    }

    // Writes the next sample and advances; the index wraps at max(1, length), so a
    // zero-length line keeps writing its single sample.
    void Write(double value) {
      samples_[writeIndex_] = value;
      if (static_cast<unsigned>(++writeIndex_) >= wrapLength_) {
        writeIndex_ = 0;
        wrapped_ = true;
      }
    }

    // Steps for a run of frames whose every read reaches back beyond the run (d > k): the
    // sample d behind the write position as it will be k frames on, the write k frames on,
    // and the advance over the whole run.
    double ReadAhead(int k, int d) const {
      int i = writeIndex_ + k - d;
      if (i < 0) {
        if (!wrapped_) {
          return 0.0;
        }
        i += length_;
      }
      return samples_[i];
    }
    void WriteAhead(int k, double value) {
      unsigned i = static_cast<unsigned>(writeIndex_ + k);
      if (i >= wrapLength_) {
        i -= wrapLength_;
      }
      samples_[i] = value;
    }
    void Advance(int frames) {
      unsigned i = static_cast<unsigned>(writeIndex_ + frames);
      if (i >= wrapLength_) {
        i -= wrapLength_;
        wrapped_ = true;
      }
      writeIndex_ = static_cast<int>(i);
    }

    // The samples d behind the write position for the next frames (d >= frames), when
    // those frames do not cross the end of the line, or a run of silence when they all lie
    // before the last clear; null otherwise. The same for writing.
    const double* ContiguousRead(int d, int frames) const {
      int i = writeIndex_ - d;
      if (i < 0) {
        if (!wrapped_) {
          return i + frames <= 0 && frames <= kSilentRunLength ? SilentRun() : nullptr;
        }
        i += length_;
      }
      return i + frames <= length_ ? samples_ + i : nullptr;
    }
    double* ContiguousWrite(int frames) const {
      return writeIndex_ + frames <= length_ ? samples_ + writeIndex_ : nullptr;
    }

    int Length() const { return length_; }
    void Commit(DelayLine& line) const {
      line.writeIndex_ = writeIndex_;
      line.wrapped_ = wrapped_;
    }

   private:
    double* samples_;
    int length_;
    unsigned wrapLength_;
    int writeIndex_;
    bool wrapped_;
  };

 private:
  static const double* SilentRun();
  void Release();
  bool Hold(int64_t samples);

  double* samples_ = &fallback_;
  double fallback_ = 0.0;
  int64_t capacity_ = 0;  // samples allocated; 0 while only the built-in one is used
  int length_ = 0;
  unsigned wrapLength_ = 1;
  int writeIndex_ = 0;
  bool wrapped_ = false;  // writing has gone all the way round since the last clear
  bool allocated_ = false;
};

}  // namespace velmora::dsp
