// Runs the engine and the plain reference model side by side over many seeded random
// sessions: random parameters and changes (during crossfades too), block sizes from 0 up,
// tempo and sample-rate changes, song positions beyond 2^31, silence long enough for the
// automatic bypass, and impulses, noise and constants. Every output sample must match bit
// for bit, and so must the lamp and the two strips after every block.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <sstream>
#include <string>
#include <vector>

#include "engine/delay_engine.h"
#include "engine_test_rig.h"
#include "random_session_inputs.h"
#include "reference_model.h"

namespace velmora::dsp::testing {
namespace {

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

bool SameBits(float a, float b) {
  return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

// The model's view of the host: the same answers, its own query counts.
class CountingHost : public EngineHost {
 public:
  explicit CountingHost(FakeEngineHost& host) : host_(host) {}
  double StoredParamValue(int index) const override { return host_.StoredParamValue(index); }
  double CurrentSampleRate() const override { return host_.CurrentSampleRate(); }
  double SamplesPerBeat() override {
    ++tempoQueries;
    return host_.SamplesPerBeat();
  }
  int64_t HostSamplePosition() override {
    ++positionQueries;
    return host_.HostSamplePosition();
  }
  int tempoQueries = 0;
  int positionQueries = 0;

 private:
  FakeEngineHost& host_;
};

// Counts the engine's lamp pushes to the editor.
class LampCounter : public LampListener {
 public:
  void OnLampChanged(bool processing) override {
    ++pushes;
    last = processing;
  }
  int pushes = 0;
  bool last = false;
};

class Session {
 public:
  explicit Session(uint64_t seed)
      : rng_(seed), seed_(seed), busy_(seed % 5 == 0), quiet_(seed % 5 == 1) {
    engine_.SetLampListener(&lamp_);
  }

  // Runs the session; returns an empty string or a description of the first difference.
  std::string Run(int totalFrames);

  int lampSwitches = 0;
  int bypassEngaged = 0;  // silence reached its limit while processing
  int crossfadeChanges = 0;

 private:
  void ApplyBoth(int index) {
    engine_.ApplyParameter(index);
    model_.ApplyParameter(index);
  }
  void Log(const std::string& line) {
    log_.push_back(line);
    if (log_.size() > 24) {
      log_.pop_front();
    }
  }
  void BetweenBlocks();
  void SetTiming(double rate, double samplesPerBeat);
  std::string Block(int frames);
  std::string CompareDisplays() const;
  std::string CompareState() const;
  std::string Report(const std::string& what) const;

  Random rng_;
  uint64_t seed_;
  // Busy sessions change parameters between most of their many small blocks.
  bool busy_;
  bool quiet_;
  FakeEngineHost host_;
  DelayEngine engine_{host_};
  CountingHost modelHost_{host_};
  ReferenceModel model_{modelHost_};
  LampCounter lamp_;
  Signal signal_;
  std::deque<std::string> log_;
  int block_ = 0;
};

void Session::SetTiming(double rate, double samplesPerBeat) {
  host_.sampleRate = rate;
  host_.samplesPerBeat = samplesPerBeat;
  std::ostringstream line;
  line << "rate " << rate << " samplesPerBeat " << samplesPerBeat;
  Log(line.str());
}

void Session::BetweenBlocks() {
  if (rng_.Chance(busy_ ? 60 : 12)) {
    const int changes = rng_.Between(1, 3);
    for (int c = 0; c < changes; ++c) {
      const int index = rng_.Below(kParamCount);
      host_.values[index] = RandomValue(rng_, index, quiet_);
      if (engine_.Delay().crossfadeActive && (index == kDelayRate || index == kPingPong)) {
        ++crossfadeChanges;
      }
      Log("param " + std::to_string(index) + " = " + std::to_string(host_.values[index]));
      ApplyBoth(index);
    }
  }
  if (rng_.Chance(1)) {
    SetTiming(host_.sampleRate, RandomSamplesPerBeat(rng_, host_.sampleRate));
  }
  if (rng_.Chance(1)) {
    const double rate = RandomRate(rng_);
    SetTiming(rate, host_.samplesPerBeat > 0.0 && host_.samplesPerBeat < 1.0e6
                        ? host_.samplesPerBeat * rate / host_.sampleRate
                        : host_.samplesPerBeat);
    if (rng_.Chance(50)) {
      engine_.ResetEngine();
      model_.ResetEngine();
    } else {
      engine_.SetActive(true);
      model_.SetActive(true);
    }
  }
  if (block_ > 1 && rng_.Chance(1)) {
    // A host rate that is no positive finite number leaves the engine's rate as it was.
    static const double kBadRates[] = {0.0, -44100.0, HUGE_VAL, std::nan("")};
    const double goodRate = host_.sampleRate;
    host_.sampleRate = kBadRates[rng_.Below(4)];
    Log("bad rate " + std::to_string(host_.sampleRate));
    engine_.ResetEngine();
    model_.ResetEngine();
    host_.sampleRate = goodRate;
  }
  if (rng_.Chance(1)) {
    Log("switched off");
    engine_.SetActive(false);
    model_.SetActive(false);
  }
  if (rng_.Chance(2)) {
    host_.songPosition = RandomSongPosition(rng_);
  }
  if (signal_.remaining <= 0) {
    // Non-finite samples, processed as silence, in some sessions.
    signal_.kind = seed_ % 7 == 3 && rng_.Chance(5) ? 5 : rng_.Below(5);
    if (rng_.Chance(40)) {
      signal_.kind = 0;
    }
    // Silence up to a few seconds: the bypass needs at least one second of it.
    const int rate = static_cast<int>(host_.sampleRate);
    signal_.remaining = signal_.kind == 0 ? rng_.Between(1000, 3 * rate) : rng_.Between(50, 3000);
    signal_.level = rng_.Chance(20) ? 0.0005 : rng_.Unit() * (rng_.Chance(10) ? 4.0 : 0.9);
    if (quiet_) {
      signal_.level = 0.01 + rng_.Unit() * 0.1;
    }
    if (rng_.Chance(10)) {
      signal_.level = model_.bypassThreshold;  // exactly at the threshold: still quiet
    }
    Log("signal kind " + std::to_string(signal_.kind));
  }
}

std::string Session::Block(int frames) {
  const bool inPlace = rng_.Chance(30);
  StereoBuffer in(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    in.left[static_cast<size_t>(i)] = NextSample(rng_, signal_);
    in.right[static_cast<size_t>(i)] = rng_.Chance(90) ? NextSample(rng_, signal_) : 0.0;
  }
  signal_.remaining -= frames;
  // Outputs start with a marker, so frames left unwritten compare equal only if both leave
  // them alone.
  StereoBuffer engineIn = in, modelIn = in;
  StereoBuffer engineOut(static_cast<size_t>(frames), -7.25);
  StereoBuffer modelOut(static_cast<size_t>(frames), -7.25);
  StereoBuffer& engineDest = inPlace ? engineIn : engineOut;
  StereoBuffer& modelDest = inPlace ? modelIn : modelOut;
  double* ei[2] = {engineIn.left.data(), engineIn.right.data()};
  double* eo[2] = {engineDest.left.data(), engineDest.right.data()};
  double* mi[2] = {modelIn.left.data(), modelIn.right.data()};
  double* mo[2] = {modelDest.left.data(), modelDest.right.data()};
  const bool lampBefore = engine_.Lamp().state.load();
  const bool processingBefore = model_.silenceCount < model_.silenceLimit;
  engine_.ProcessBlock(ei, eo, frames);
  model_.ProcessBlock(mi, mo, frames);
  lampSwitches += lampBefore != engine_.Lamp().state.load();
  bypassEngaged += processingBefore && model_.silenceCount >= model_.silenceLimit;
  host_.songPosition += frames;
  for (int i = 0; i < frames; ++i) {
    const size_t k = static_cast<size_t>(i);
    for (int channel = 0; channel < 2; ++channel) {
      const double e = channel == 0 ? engineDest.left[k] : engineDest.right[k];
      const double m = channel == 0 ? modelDest.left[k] : modelDest.right[k];
      if (!SameBits(e, m)) {
        std::ostringstream what;
        what.precision(17);
        what << "frame " << i << " of " << frames << " channel " << channel << ": engine " << e
             << " model " << m << (inPlace ? " (in place)" : "");
        return Report(what.str());
      }
    }
  }
  std::string difference = CompareDisplays();
  if (difference.empty()) {
    difference = CompareState();
  }
  return difference.empty() ? difference : Report(difference);
}

std::string Session::CompareDisplays() const {
  if (engine_.Lamp().state.load() != model_.bypassIndicator ||
      lamp_.pushes != model_.bypassIndicatorPushes ||
      (lamp_.pushes > 0 && lamp_.last != model_.bypassIndicator)) {
    return "lamp";
  }
  const GraphDisplay* graphs[2] = {&engine_.LeftGraph(), &engine_.RightGraph()};
  const ModelGraph* expected[2] = {&model_.graphLeft, &model_.graphRight};
  for (int g = 0; g < 2; ++g) {
    std::ostringstream what;
    what.precision(9);
    what << (g == 0 ? "left" : "right") << " graph: engine " << graphs[g]->current.load() << " "
         << graphs[g]->lower.load() << " " << graphs[g]->upper.load() << ", model "
         << expected[g]->current << " " << expected[g]->lower << " " << expected[g]->upper;
    if (!SameBits(graphs[g]->current.load(), expected[g]->current) ||
        !SameBits(graphs[g]->lower.load(), expected[g]->lower) ||
        !SameBits(graphs[g]->upper.load(), expected[g]->upper)) {
      return what.str();
    }
  }
  return "";
}

// The state behind the sound, compared so a difference is found where it starts.
std::string Session::CompareState() const {
  const DelayState& d = engine_.Delay();
  std::ostringstream what;
  auto check = [&what](const char* name, double e, double m) {
    if (!SameBits(e, m) && what.tellp() == 0) {
      what.precision(17);
      what << name << ": engine " << e << " model " << m;
    }
  };
  check("rightTap", d.rightTap, model_.rightTap);
  check("leftTap", d.leftTap, model_.leftTap);
  check("oldRightTap", d.oldRightTap, model_.oldRightTap);
  check("oldLeftTap", d.oldLeftTap, model_.oldLeftTap);
  check("crossfadeActive", d.crossfadeActive, model_.crossfadeActive);
  check("crossfadeCount", d.crossfadeCount, model_.crossfadeCount);
  check("silenceCount", d.silenceCount, model_.silenceCount);
  check("silenceLimit", d.silenceLimit, model_.silenceLimit);
  check("writeIndex", engine_.Line().WriteIndex(), model_.writeIndex);
  check("lineLength", engine_.Line().Length(), model_.delayLineLength);
  check("crossfadeLength", d.crossfadeLength, model_.crossfadeLength);
  check("mode", d.mode, model_.mode);
  check("bypassThreshold", d.bypassThreshold, model_.bypassThreshold);
  check("samplesPerWhole", engine_.SamplesPerWhole(), model_.samplesPerWhole);
  check("engineSampleRate", engine_.EngineSampleRate(), model_.engineSampleRate);
  check("mirror", engine_.Mirror(), model_.mirror);
  check("processingEnabled", engine_.ProcessingEnabled(), model_.processingEnabled);
  const MixGains& gains = engine_.Gains();
  const float modelBase[4] = {model_.panBase, model_.feedbackBase, model_.dryBase, model_.wetBase};
  const float modelCurrent[4] = {model_.panCurrent, model_.feedbackCurrent, model_.dryCurrent,
                                 model_.wetCurrent};
  for (int slot = 1; slot < 5; ++slot) {
    check("gain base", gains.base[slot], modelBase[slot - 1]);
    check("gain current", gains.current[slot], modelCurrent[slot - 1]);
  }
  check("samplesPerBeat queries", host_.tempoQueries - modelHost_.tempoQueries,
        modelHost_.tempoQueries);
  check("song position queries", host_.positionQueries - modelHost_.positionQueries,
        modelHost_.positionQueries);
  const SweepSide* sides[2] = {&engine_.LeftSide(), &engine_.RightSide()};
  const ModelSide* modelSides[2] = {&model_.left, &model_.right};
  for (int s = 0; s < 2; ++s) {
    check(s == 0 ? "left lfoPhase" : "right lfoPhase", sides[s]->lfoPhase, modelSides[s]->lfoPhase);
    check(s == 0 ? "left lfoPeriod" : "right lfoPeriod", sides[s]->lfoPeriod,
          modelSides[s]->lfoPeriod);
    check(s == 0 ? "left filterOut" : "right filterOut", sides[s]->filterOut,
          modelSides[s]->filterOut);
    check(s == 0 ? "left damping" : "right damping", sides[s]->damping, modelSides[s]->damping);
    check("filterVelocity", sides[s]->filterVelocity, modelSides[s]->filterVelocity);
    check("filterType", sides[s]->filterType, modelSides[s]->filterType);
    check("cutoffHz", sides[s]->cutoffHz, modelSides[s]->cutoffHz);
    check("resoFactor", sides[s]->resoFactor, modelSides[s]->resoFactor);
    check("depthScaled", sides[s]->depthScaled, modelSides[s]->depthScaled);
    check("baseCoeff", sides[s]->baseCoeff, modelSides[s]->baseCoeff);
    check("sweepScale", sides[s]->sweepScale, modelSides[s]->sweepScale);
    check("sweepOffset", sides[s]->sweepOffset, modelSides[s]->sweepOffset);
    check("lfoCentre", sides[s]->lfoCentre, modelSides[s]->lfoCentre);
    check("sideActive", sides[s]->sideActive, modelSides[s]->sideActive);
    check("linkTarget", sides[s]->linkTarget, modelSides[s]->linkTarget);
    check("linkParam", sides[s]->linkParam, modelSides[s]->linkParam);
    check("linkDepth", sides[s]->linkDepth, modelSides[s]->linkDepth);
    check(s == 0 ? "left linkCentre" : "right linkCentre", sides[s]->linkCentre,
          modelSides[s]->linkCentre);
  }
  return what.str();
}

std::string Session::Report(const std::string& what) const {
  std::ostringstream report;
  report << "seed " << seed_ << ", block " << block_ << ": " << what << "\nrecent events:\n";
  for (const std::string& line : log_) {
    report << "  " << line << "\n";
  }
  return report.str();
}

std::string Session::Run(int totalFrames) {
  const double rate = RandomRate(rng_);
  SetTiming(rate, RandomSamplesPerBeat(rng_, rate));
  host_.songPosition = RandomSongPosition(rng_);
  engine_.SetSteadyPathEnabled(!rng_.Chance(20));
  for (int i = 0; i < kParamCount; ++i) {
    host_.values[i] = rng_.Chance(30) && !quiet_ ? kDefaultValues[i] : RandomValue(rng_, i, quiet_);
  }
  // Some sessions process (nothing) before the host has applied every parameter.
  const int early = rng_.Chance(30) ? rng_.Between(0, kParamCount - 1) : 0;
  for (int i = 0; i < early; ++i) {
    ApplyBoth(rng_.Below(kParamCount));
  }
  if (early > 0) {
    const std::string difference = Block(rng_.Between(0, 64));
    if (!difference.empty()) {
      return difference;
    }
  }
  for (int i = 0; i < kParamCount; ++i) {
    ApplyBoth(i);
  }
  int done = 0;
  while (done < totalFrames) {
    ++block_;
    BetweenBlocks();
    const int kind = rng_.Below(20);
    const int frames = kind == 0           ? 0
                       : kind == 1         ? 1
                       : kind < 6 || busy_ ? rng_.Between(2, 16)
                       : kind == 19        ? rng_.Between(701, 4096)
                                           : rng_.Between(17, 700);
    const std::string difference = Block(frames);
    if (!difference.empty()) {
      return difference;
    }
    done += frames;
  }
  return "";
}

TEST(ReferenceModel, EngineMatchesModelBitForBitOverRandomSessions) {
  int lampSwitches = 0;
  int bypassEngaged = 0;
  int crossfadeChanges = 0;
  // VELMORA_MODEL_SESSIONS asks for a longer soak run than the suite's default.
  const char* sessions = std::getenv("VELMORA_MODEL_SESSIONS");
  const uint64_t count = sessions != nullptr ? std::strtoull(sessions, nullptr, 10) : 60;
  for (uint64_t seed = 1; seed <= count; ++seed) {
    Session session(seed);
    const std::string difference = session.Run(seed % 5 == 0 ? 12000 : 80000);
    ASSERT_TRUE(difference.empty()) << difference;
    lampSwitches += session.lampSwitches;
    bypassEngaged += session.bypassEngaged;
    crossfadeChanges += session.crossfadeChanges;
  }
  // The sessions must actually reach the bypass both ways and change taps mid-crossfade.
  EXPECT_GT(lampSwitches, 20);
  EXPECT_GT(bypassEngaged, 20);
  EXPECT_GT(crossfadeChanges, 5);
}

}  // namespace
}  // namespace velmora::dsp::testing
