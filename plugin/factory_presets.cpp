#include "plugin/factory_presets.h"

#include "plugin/parameter_set.h"

namespace velmora {
namespace {

struct FactoryProgram {
  const char* name;
  double values[kVelmoraParamCount];
};

// Values in parameter index order: 0 Delay Rate, 1 Ping Pong, 2 Pan Width, 3 Feedback,
// 4 Freq Left, 5 Reso Left, 6 Filter Left Type, 7 Left Depth, 8 Left Sweep Rate,
// 9 Left Sweep Link, 10 Left Depth Link, 11 Freq Right, 12 Reso Right, 13 Filter Right Type,
// 14 Right Depth, 15 Right Sweep Rate, 16 Right Sweep Link, 17 Right Depth Link,
// 18 Filter Mirror, 19 Dry Mix, 20 Wet Mix, 21 Bypass Ceil. Enumerations are text indices.
// The names are the shipped ones, spelling included.
// clang-format off
const FactoryProgram kFactoryPrograms[kFactoryProgramCount] = {
  //                             0   1    2   3     4   5  6    7   8  9   10    11  12 13   14  15 16  17 18   19   20   21
  {"Simple Delay",             { 9,  2,  90, 60, 3000, 50, 0,  50, 12, 0,  50, 4000, 50, 0,  50, 12, 0, 50, 0, 100,  50, -60}},
  {"Simple & Pan Modulate",    { 9,  2,  90, 60, 3000, 50, 0,  50, 15, 1, 100, 4000, 50, 0,  50, 12, 0, 50, 0, 100,  50, -60}},
  {"Sync Delay",               { 9,  2,  90, 60, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 2,  50, 12, 0, 50, 0,  70,  60, -60}},
  {"Sync Delay Triplet",       { 9,  0,  90, 60, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 2,  50, 12, 0, 50, 0,  70,  60, -60}},
  {"Sync Delay Dottet",        { 9,  1,  90, 60, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 2,  50, 12, 0, 50, 0,  70,  60, -60}},
  {"Bright Room",              { 0,  2, 100, 60, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 2,  50, 12, 0, 50, 0, 100,  70, -60}},
  {"Dark Room",                { 1,  2,  90, 50, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 2,  50, 12, 0, 50, 0,  60,  60, -60}},
  {"Etheric Room",             { 1,  2, 100, 90, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 2,  50, 12, 0, 50, 0,  90,  50, -60}},
  {"Resonant Room",            { 0,  2, 100, 80, 3000, 70, 1,  50, 12, 0,  50, 4000, 70, 2,  50, 12, 0, 50, 0, 100,  60, -60}},
  {"Distant Echoes",           {21,  2, 100, 60, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 2,  50, 12, 0, 50, 1,  60,  50, -60}},
  {"Distant Echoes 2",         {20,  2, 100, 70, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 2,  50, 12, 0, 50, 0,  60,  40, -60}},
  {"Harp",                     { 3,  2,  90, 80, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 1,  50, 12, 0, 50, 1,  70,  50, -60}},
  {"Long Delay",               { 9,  2,  90, 80, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 2,  50, 12, 0, 50, 1,  80,  70, -60}},
  {"Very Long Delay",          { 9,  2,  90, 90, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 2,  50, 12, 0, 50, 1,  70,  50, -60}},
  {"Don't Stop",               { 9,  2,  90, 96, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 2,  50, 12, 0, 50, 0,  70,  50, -60}},
  {"Light Drops",              { 2,  2, 100, 80, 3000, 50, 1,  50, 12, 0,  50, 3000, 50, 1,  50, 12, 0, 50, 1,  70,  50, -60}},
  {"Only Delay",               {12,  2,  90, 60, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 2,  50, 12, 0, 50, 0,   0,  90, -60}},
  {"Quiet Delay",              { 6,  2,  90, 80, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 2,  50, 12, 0, 50, 1,  50,  30, -60}},
  {"Quiet Delay Dotted",       { 6,  1,  90, 80, 3000, 50, 1,  50, 12, 0,  50, 3500, 50, 1,  50, 12, 0, 50, 1,  50,  30, -60}},
  {"Relaxation",               { 6,  2,  90, 80, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 2,  50, 12, 0, 50, 0,  60,  40, -60}},
  {"Relaxation Dotted",        { 6,  4,  90, 80, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 2,  50, 12, 0, 50, 0,  60,  40, -60}},
  {"Stereo Enhanced",          { 9,  2, 100, 70, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 2,  50, 12, 0, 50, 1, 100,  70, -60}},
  {"Stereo Enhanced 2",        { 9,  0, 100, 70, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 2,  50, 12, 0, 50, 1, 100,  70, -60}},
  {"Maximum Mirror",           { 9,  2, 100, 60, 2500, 40, 1, 100, 15, 0,  50, 2500, 40, 1, 100, 15, 0, 50, 1, 100,  70, -60}},
  {"Filter Mirror",            { 9,  2, 100,  0, 3000, 50, 1,  50, 12, 0,  50, 4000, 50, 2,  50, 12, 0, 50, 1, 100, 100, -60}},
  {"Bass Sweep",               { 9,  2,  90, 60, 1000, 50, 2,  10, 12, 0,  50,  300, 30, 2,  10, 12, 0, 50, 1,  60,  50, -60}},
  {"Pan Modulate",             { 9,  2, 100, 60, 3000, 50, 1,  50, 18, 1, 100, 4000, 50, 2,  50, 12, 0, 50, 0, 100,  50, -60}},
  {"Feedback & Pan Modulate",  { 9,  2, 100, 60, 3000, 50, 1,  50, 18, 1, 100, 4000, 50, 2,  50, 18, 2, 50, 0, 100,  80, -60}},
  {"Modulated Delay",          { 9,  2, 100, 60, 3000, 40, 1,  50, 12, 4,  40, 3000, 40, 1,  50, 12, 0, 50, 1, 100,  70, -60}},
  {"Modulated Delay 2",        { 9,  1, 100, 60, 3000, 40, 1,  50, 12, 2,  50, 3500, 40, 2,  50, 12, 4, 30, 0, 100,  70, -60}},
  {"Modulated Feedback",       { 9,  2, 100, 60, 3000, 40, 1,  50, 12, 2,  50, 3000, 40, 1,  50, 12, 0, 50, 1, 100,  70, -60}},
  {"Modulated Feedback Low",   { 9,  2, 100, 60, 2000, 40, 1,  50, 12, 2, -60, 2500, 40, 2,  50, 12, 0, 50, 0, 100,  70, -60}},
};
// clang-format on

}  // namespace

void FillFactoryPrograms(IEffectBase& plugin) {
  // Program 0 keeps no values of its own: it takes the current ones the first time the
  // host leaves it.
  plugin.NameDefaultPrograms("---- default ----", 1);
  for (const FactoryProgram& program : kFactoryPrograms) {
    plugin.AddProgram(program.name, program.values, kVelmoraParamCount);
  }
}

}  // namespace velmora
