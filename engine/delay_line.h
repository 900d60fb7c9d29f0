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

class DelayLine {
 public:
  DelayLine() = default;
  ~DelayLine();
  DelayLine(const DelayLine&) = delete;
  DelayLine& operator=(const DelayLine&) = delete;

  // Releases the current line and allocates a zeroed one of max(1, length) samples.
  // Allocation never throws; on failure (or a length outside 0..kMaxDelayLineLength) the
  // line becomes a zero-length line over a built-in single sample and false is returned.
  bool Allocate(int64_t length);

  // Zeroes every sample and moves writing to the start.
  void Clear();

  bool Allocated() const { return allocated_; }
  int Length() const { return length_; }
  int WriteIndex() const { return writeIndex_; }
  void SetWriteIndex(int index) { writeIndex_ = index; }

  // A working copy of the line's read and write state for one block, so the per-sample
  // loop keeps it in registers; Commit stores the advanced write position back.
  class Cursor {
   public:
    explicit Cursor(DelayLine& line)
        : samples_(line.samples_),
          length_(line.length_),
          wrapLength_(line.wrapLength_),
          writeIndex_(line.writeIndex_) {}

    // The sample d samples behind the write position (d in 0..length).
    double Read(int d) const {
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
      }
    }

    // Steps for a run of frames whose every read reaches back beyond the run: the sample
    // d behind the write position as it will be k frames on, the write k frames on, and
    // the advance over the whole run.
    double ReadAhead(int k, int d) const {
      int i = writeIndex_ + k - d;
      if (i < 0) {
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
      }
      writeIndex_ = static_cast<int>(i);
    }

    // The samples d behind the write position for the next frames, when those frames do
    // not cross the end of the line (null otherwise), and the same for writing.
    const double* ContiguousRead(int d, int frames) const {
      int i = writeIndex_ - d;
      if (i < 0) {
        i += length_;
      }
      return i + frames <= length_ ? samples_ + i : nullptr;
    }
    double* ContiguousWrite(int frames) const {
      return writeIndex_ + frames <= length_ ? samples_ + writeIndex_ : nullptr;
    }

    int Length() const { return length_; }
    void Commit(DelayLine& line) const { line.writeIndex_ = writeIndex_; }

   private:
    double* samples_;
    int length_;
    unsigned wrapLength_;
    int writeIndex_;
  };

 private:
  void Release();

  double* samples_ = &fallback_;
  double fallback_ = 0.0;
  int length_ = 0;
  unsigned wrapLength_ = 1;
  int writeIndex_ = 0;
  bool allocated_ = false;
};

}  // namespace velmora::dsp
