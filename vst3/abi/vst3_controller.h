// The VST 3 binary interface, part 3: the edit controller with its parameter records, the
// host's component handler that receives edit gestures, and the unit and program-list
// information hosts read for their preset menus.
#pragma once

#include "vst3/abi/vst3_base.h"

namespace velmora::vst3 {

class IPlugView;

// The category of an edit controller class.
constexpr const char* kComponentControllerClass = "Component Controller Class";
// The only view type hosts ask for.
constexpr const char* kEditorViewType = "editor";

struct ParameterInfo {
  enum Flags : int32_t {
    kNoFlags = 0,
    kCanAutomate = 1 << 0,
    kIsReadOnly = 1 << 1,
    kIsWrapAround = 1 << 2,
    kIsList = 1 << 3,
    kIsHidden = 1 << 4,
    kIsProgramChange = 1 << 15,
    kIsBypass = 1 << 16,
  };
  ParamID id;
  String128 title;
  String128 shortTitle;
  String128 units;
  int32_t stepCount;  // 0: continuous; 1: on/off; n: n + 1 values
  ParamValue defaultNormalizedValue;
  UnitID unitId;
  int32_t flags;
};

enum RestartFlags : int32_t {
  kReloadComponent = 1 << 0,
  kIoChanged = 1 << 1,
  kParamValuesChanged = 1 << 2,
  kLatencyChanged = 1 << 3,
  kParamTitlesChanged = 1 << 4,
};

class IComponentHandler : public FUnknown {
 public:
  virtual tresult VELMORA_VST3_CALL beginEdit(ParamID id) = 0;
  virtual tresult VELMORA_VST3_CALL performEdit(ParamID id, ParamValue normalized) = 0;
  virtual tresult VELMORA_VST3_CALL endEdit(ParamID id) = 0;
  virtual tresult VELMORA_VST3_CALL restartComponent(int32_t flags) = 0;
  static constexpr Iid kIid = MakeIid(words::kIComponentHandler);
};

class IEditController : public IPluginBase {
 public:
  virtual tresult VELMORA_VST3_CALL setComponentState(IBStream* state) = 0;
  virtual tresult VELMORA_VST3_CALL setState(IBStream* state) = 0;
  virtual tresult VELMORA_VST3_CALL getState(IBStream* state) = 0;
  virtual int32_t VELMORA_VST3_CALL getParameterCount() = 0;
  virtual tresult VELMORA_VST3_CALL getParameterInfo(int32_t index, ParameterInfo& info) = 0;
  virtual tresult VELMORA_VST3_CALL getParamStringByValue(ParamID id, ParamValue normalized,
                                                          String128 text) = 0;
  virtual tresult VELMORA_VST3_CALL getParamValueByString(ParamID id, char16* text,
                                                          ParamValue& normalized) = 0;
  virtual ParamValue VELMORA_VST3_CALL normalizedParamToPlain(ParamID id,
                                                              ParamValue normalized) = 0;
  virtual ParamValue VELMORA_VST3_CALL plainParamToNormalized(ParamID id, ParamValue plain) = 0;
  virtual ParamValue VELMORA_VST3_CALL getParamNormalized(ParamID id) = 0;
  virtual tresult VELMORA_VST3_CALL setParamNormalized(ParamID id, ParamValue normalized) = 0;
  virtual tresult VELMORA_VST3_CALL setComponentHandler(IComponentHandler* handler) = 0;
  virtual IPlugView* VELMORA_VST3_CALL createView(const char* name) = 0;
  static constexpr Iid kIid = MakeIid(words::kIEditController);
};

constexpr UnitID kRootUnitId = 0;
constexpr UnitID kNoParentUnitId = -1;
constexpr ProgramListID kNoProgramListId = -1;

struct UnitInfo {
  UnitID id;
  UnitID parentUnitId;
  String128 name;
  ProgramListID programListId;
};

struct ProgramListInfo {
  ProgramListID id;
  String128 name;
  int32_t programCount;
};

class IUnitInfo : public FUnknown {
 public:
  virtual int32_t VELMORA_VST3_CALL getUnitCount() = 0;
  virtual tresult VELMORA_VST3_CALL getUnitInfo(int32_t index, UnitInfo& info) = 0;
  virtual int32_t VELMORA_VST3_CALL getProgramListCount() = 0;
  virtual tresult VELMORA_VST3_CALL getProgramListInfo(int32_t index, ProgramListInfo& info) = 0;
  virtual tresult VELMORA_VST3_CALL getProgramName(ProgramListID list, int32_t program,
                                                   String128 name) = 0;
  virtual tresult VELMORA_VST3_CALL getProgramInfo(ProgramListID list, int32_t program,
                                                   const char* attribute, String128 value) = 0;
  virtual tresult VELMORA_VST3_CALL hasProgramPitchNames(ProgramListID list, int32_t program) = 0;
  virtual tresult VELMORA_VST3_CALL getProgramPitchName(ProgramListID list, int32_t program,
                                                        int16_t pitch, String128 name) = 0;
  virtual UnitID VELMORA_VST3_CALL getSelectedUnit() = 0;
  virtual tresult VELMORA_VST3_CALL selectUnit(UnitID unit) = 0;
  virtual tresult VELMORA_VST3_CALL getUnitByBus(int32_t type, int32_t direction, int32_t bus,
                                                 int32_t channel, UnitID& unit) = 0;
  virtual tresult VELMORA_VST3_CALL setUnitProgramData(int32_t listOrUnit, int32_t program,
                                                       IBStream* data) = 0;
  static constexpr Iid kIid = MakeIid(words::kIUnitInfo);
};

#if defined(__x86_64__) || defined(_M_X64)
static_assert(sizeof(ParameterInfo) == 792, "parameter record");
static_assert(offsetof(ParameterInfo, stepCount) == 772, "parameter record");
static_assert(offsetof(ParameterInfo, defaultNormalizedValue) == 776, "parameter record");
static_assert(sizeof(UnitInfo) == 268, "unit record");
static_assert(sizeof(ProgramListInfo) == 264, "program list record");
#endif

}  // namespace velmora::vst3
