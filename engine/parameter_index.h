// Indices of the effect's 22 parameters, the one numbering shared by host, programs, chunks,
// engine and editor, and the whole-number range each one takes.
#pragma once

namespace velmora {

enum ParamIndex : int {
  kDelayRate = 0,
  kPingPong = 1,
  kPanWidth = 2,
  kFeedback = 3,
  kFreqLeft = 4,
  kResoLeft = 5,
  kFilterLeftType = 6,
  kLeftDepth = 7,
  kLeftSweepRate = 8,
  kLeftSweepLink = 9,
  kLeftDepthLink = 10,
  kFreqRight = 11,
  kResoRight = 12,
  kFilterRightType = 13,
  kRightDepth = 14,
  kRightSweepRate = 15,
  kRightSweepLink = 16,
  kRightDepthLink = 17,
  kFilterMirror = 18,
  kDryMix = 19,
  kWetMix = 20,
  kBypassCeil = 21,
};

constexpr int kVelmoraParamCount = 22;

struct ParamRange {
  int minimum;
  int maximum;
};

// The parameters are declared with these ranges, and the engine holds applied values inside
// them, so a stray value can never index past one of its tables.
constexpr ParamRange kParamRanges[kVelmoraParamCount] = {
    {0, 24}, {0, 4},      {-100, 100}, {0, 100},    {20, 20000}, {0, 100},   {0, 2},   {0, 100},
    {0, 30}, {0, 4},      {-100, 100}, {20, 20000}, {0, 100},    {0, 2},     {0, 100}, {0, 30},
    {0, 4},  {-100, 100}, {0, 1},      {0, 100},    {0, 100},    {-100, -50}};

}  // namespace velmora

namespace velmora::dsp {

constexpr int kParamCount = kVelmoraParamCount;

}  // namespace velmora::dsp
