// Unit and program-list information: one root unit whose program list holds the 60
// programs (the named factory ones and the empty slots), which hosts show as presets.
#include "plugin/velmora_plugin.h"
#include "vst3/utf16_text.h"
#include "vst3/velmora_vst3.h"

namespace velmora::vst3 {

int32_t VelmoraVst3::getUnitCount() {
  return 1;
}

tresult VelmoraVst3::getUnitInfo(int32_t index, UnitInfo& info) {
  if (index != 0) {
    return kInvalidArgument;
  }
  info = UnitInfo{};
  info.id = kRootUnitId;
  info.parentUnitId = kNoParentUnitId;
  CopyToUtf16("Root", info.name, 128);
  info.programListId = kProgramListId;
  return kResultOk;
}

int32_t VelmoraVst3::getProgramListCount() {
  return effect_ ? 1 : 0;
}

tresult VelmoraVst3::getProgramListInfo(int32_t index, ProgramListInfo& info) {
  if (!effect_ || index != 0) {
    return kInvalidArgument;
  }
  info = ProgramListInfo{};
  info.id = kProgramListId;
  CopyToUtf16("Programs", info.name, 128);
  info.programCount = effect_->Plugin().NumPrograms();
  return kResultOk;
}

tresult VelmoraVst3::getProgramName(ProgramListID list, int32_t program, String128 name) {
  if (!effect_ || list != kProgramListId || name == nullptr || program < 0 ||
      program >= effect_->Plugin().NumPrograms()) {
    return kInvalidArgument;
  }
  CopyToUtf16(effect_->Plugin().ProgramName(program), name, 128);
  return kResultOk;
}

tresult VelmoraVst3::getProgramInfo(ProgramListID, int32_t, const char*, String128) {
  return kResultFalse;
}

tresult VelmoraVst3::hasProgramPitchNames(ProgramListID, int32_t) {
  return kResultFalse;
}

tresult VelmoraVst3::getProgramPitchName(ProgramListID, int32_t, int16_t, String128) {
  return kResultFalse;
}

UnitID VelmoraVst3::getSelectedUnit() {
  return kRootUnitId;
}

tresult VelmoraVst3::selectUnit(UnitID unit) {
  return unit == kRootUnitId ? kResultOk : kInvalidArgument;
}

tresult VelmoraVst3::getUnitByBus(int32_t type, int32_t direction, int32_t bus, int32_t,
                                  UnitID& unit) {
  if (type != kAudio || (direction != kInput && direction != kOutput) || bus != 0) {
    return kInvalidArgument;
  }
  unit = kRootUnitId;
  return kResultOk;
}

tresult VelmoraVst3::setUnitProgramData(int32_t, int32_t, IBStream*) {
  return kNotImplemented;
}

}  // namespace velmora::vst3
