// Indices of the effect's 22 parameters, shared by host, programs, chunks, engine and
// editor, and the whole-number range each one can take.
#pragma once

#include "engine/parameter_index.h"

namespace velmora::dsp {

constexpr int kParamCount = kVelmoraParamCount;

struct ParamRange {
  int minimum;
  int maximum;
};

// The range of every parameter in index order. The engine holds applied values inside
// these bounds, so a stray value can never index past a table.
constexpr ParamRange kParamRanges[kParamCount] = {
    {0, 24}, {0, 4},      {-100, 100}, {0, 100},    {20, 20000}, {0, 100},   {0, 2},   {0, 100},
    {0, 30}, {0, 4},      {-100, 100}, {20, 20000}, {0, 100},    {0, 2},     {0, 100}, {0, 30},
    {0, 4},  {-100, 100}, {0, 1},      {0, 100},    {0, 100},    {-100, -50}};

}  // namespace velmora::dsp
