// The VST 3 binary interface as this project declares it, part 1: basic types, result codes,
// interface identifiers, the reference-counted base interface, streams and the module's
// factory. Written from the published interface definitions (method order, identifiers,
// layouts, constants); the other parts are vst3_processing.h, vst3_controller.h and
// vst3_view.h. Shared by the plug-in binding and by the test host under tools/.
//
// Hosts call these interfaces through their vtables, so each interface is a class with
// only pure virtual functions, in the published order, no destructor and no overloads.
// On x86-64 Windows and Linux there is one calling convention; 32-bit Windows would need
// __stdcall, which VELMORA_VST3_CALL supplies (the compilers ignore it on x86-64).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(_WIN32)
#define VELMORA_VST3_CALL __stdcall
#else
#define VELMORA_VST3_CALL
#endif

namespace velmora::vst3 {

using tresult = int32_t;
using TBool = uint8_t;
using char16 = char16_t;
using ParamID = uint32_t;
using ParamValue = double;
using UnitID = int32_t;
using ProgramListID = int32_t;
using SpeakerArrangement = uint64_t;
using TSamples = int64_t;
using TQuarterNotes = double;
using String128 = char16[128];

// Windows hosts use the COM result codes; every other platform numbers them from -1 up.
#if defined(_WIN32)
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002L);
constexpr tresult kResultOk = 0;
constexpr tresult kResultFalse = 1;
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057L);
constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001L);
constexpr tresult kInternalError = static_cast<tresult>(0x80004005L);
constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFL);
constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000EL);
#else
constexpr tresult kNoInterface = -1;
constexpr tresult kResultOk = 0;
constexpr tresult kResultFalse = 1;
constexpr tresult kInvalidArgument = 2;
constexpr tresult kNotImplemented = 3;
constexpr tresult kInternalError = 4;
constexpr tresult kNotInitialized = 5;
constexpr tresult kOutOfMemory = 6;
#endif
constexpr tresult kResultTrue = kResultOk;

// An interface or class identifier: 16 bytes, published as four 32-bit words. Windows hosts
// lay the words out as a COM GUID (first word and the two halves of the second little-endian,
// the rest big-endian); every other platform stores all four words big-endian.
enum class IidOrder { kPlain, kCom };
#if defined(_WIN32)
constexpr IidOrder kPlatformIidOrder = IidOrder::kCom;
#else
constexpr IidOrder kPlatformIidOrder = IidOrder::kPlain;
#endif

struct IidWords {
  uint32_t w1, w2, w3, w4;
};

struct Iid {
  char bytes[16];
};

constexpr char ByteOf(uint32_t word, int shift) {
  return static_cast<char>((word >> shift) & 0xFFu);
}

constexpr Iid MakeIid(const IidWords& w, IidOrder order = kPlatformIidOrder) {
  Iid iid{};
  const int kBigEndian[4] = {24, 16, 8, 0};
  const int kComFirst[4] = {0, 8, 16, 24};
  const int kComSecond[4] = {16, 24, 0, 8};
  for (int i = 0; i < 4; ++i) {
    const bool com = order == IidOrder::kCom;
    iid.bytes[i] = ByteOf(w.w1, com ? kComFirst[i] : kBigEndian[i]);
    iid.bytes[4 + i] = ByteOf(w.w2, com ? kComSecond[i] : kBigEndian[i]);
    iid.bytes[8 + i] = ByteOf(w.w3, kBigEndian[i]);
    iid.bytes[12 + i] = ByteOf(w.w4, kBigEndian[i]);
  }
  return iid;
}

// True when the 16 bytes at id name iid; a null id names nothing.
inline bool SameIid(const char* id, const Iid& iid) {
  return id != nullptr && std::memcmp(id, iid.bytes, sizeof iid.bytes) == 0;
}

// The published words of every interface this project uses.
namespace words {
constexpr IidWords kFUnknown{0x00000000, 0x00000000, 0xC0000000, 0x00000046};
constexpr IidWords kIPluginBase{0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625};
constexpr IidWords kIPluginFactory{0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F};
constexpr IidWords kIPluginFactory2{0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB};
constexpr IidWords kIPluginFactory3{0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931};
constexpr IidWords kIBStream{0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B};
constexpr IidWords kIHostApplication{0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5};
constexpr IidWords kIComponent{0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802};
constexpr IidWords kIAudioProcessor{0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D};
constexpr IidWords kIProcessContextRequirements{0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0};
constexpr IidWords kIParamValueQueue{0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA};
constexpr IidWords kIParameterChanges{0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D};
constexpr IidWords kIEditController{0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E};
constexpr IidWords kIComponentHandler{0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6};
constexpr IidWords kIUnitInfo{0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1};
constexpr IidWords kIConnectionPoint{0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1};
constexpr IidWords kIPlugView{0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29};
constexpr IidWords kIPlugFrame{0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3};
constexpr IidWords kIPlugViewContentScaleSupport{0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F};
constexpr IidWords kIRunLoop{0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389};
constexpr IidWords kIEventHandler{0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983};
constexpr IidWords kITimerHandler{0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9};
}  // namespace words

// Methods of the base interface: every interface starts with these three.
class FUnknown {
 public:
  virtual tresult VELMORA_VST3_CALL queryInterface(const char* iid, void** object) = 0;
  virtual uint32_t VELMORA_VST3_CALL addRef() = 0;
  virtual uint32_t VELMORA_VST3_CALL release() = 0;
  static constexpr Iid kIid = MakeIid(words::kFUnknown);
};

class IPluginBase : public FUnknown {
 public:
  virtual tresult VELMORA_VST3_CALL initialize(FUnknown* context) = 0;
  virtual tresult VELMORA_VST3_CALL terminate() = 0;
  static constexpr Iid kIid = MakeIid(words::kIPluginBase);
};

class IBStream : public FUnknown {
 public:
  enum SeekMode : int32_t { kSeekSet = 0, kSeekCur = 1, kSeekEnd = 2 };
  virtual tresult VELMORA_VST3_CALL read(void* buffer, int32_t bytes, int32_t* bytesRead) = 0;
  virtual tresult VELMORA_VST3_CALL write(void* buffer, int32_t bytes, int32_t* bytesWritten) = 0;
  virtual tresult VELMORA_VST3_CALL seek(int64_t position, int32_t mode, int64_t* result) = 0;
  virtual tresult VELMORA_VST3_CALL tell(int64_t* position) = 0;
  static constexpr Iid kIid = MakeIid(words::kIBStream);
};

class IHostApplication : public FUnknown {
 public:
  virtual tresult VELMORA_VST3_CALL getName(String128 name) = 0;
  virtual tresult VELMORA_VST3_CALL createInstance(char* cid, char* iid, void** object) = 0;
  static constexpr Iid kIid = MakeIid(words::kIHostApplication);
};

// The factory's records. Texts are zero-terminated within their fields.
struct PFactoryInfo {
  enum Flags : int32_t { kNoFlags = 0, kClassesDiscardable = 1, kUnicode = 1 << 4 };
  char vendor[64];
  char url[256];
  char email[128];
  int32_t flags;
};

struct PClassInfo {
  static constexpr int32_t kManyInstances = 0x7FFFFFFF;
  char cid[16];
  int32_t cardinality;
  char category[32];
  char name[64];
};

struct PClassInfo2 {
  char cid[16];
  int32_t cardinality;
  char category[32];
  char name[64];
  uint32_t classFlags;
  char subCategories[128];
  char vendor[64];
  char version[64];
  char sdkVersion[64];
};

struct PClassInfoW {
  char cid[16];
  int32_t cardinality;
  char category[32];
  char16 name[64];
  uint32_t classFlags;
  char subCategories[128];
  char16 vendor[64];
  char16 version[64];
  char16 sdkVersion[64];
};

class IPluginFactory : public FUnknown {
 public:
  virtual tresult VELMORA_VST3_CALL getFactoryInfo(PFactoryInfo* info) = 0;
  virtual int32_t VELMORA_VST3_CALL countClasses() = 0;
  virtual tresult VELMORA_VST3_CALL getClassInfo(int32_t index, PClassInfo* info) = 0;
  virtual tresult VELMORA_VST3_CALL createInstance(const char* cid, const char* iid,
                                                   void** object) = 0;
  static constexpr Iid kIid = MakeIid(words::kIPluginFactory);
};

class IPluginFactory2 : public IPluginFactory {
 public:
  virtual tresult VELMORA_VST3_CALL getClassInfo2(int32_t index, PClassInfo2* info) = 0;
  static constexpr Iid kIid = MakeIid(words::kIPluginFactory2);
};

class IPluginFactory3 : public IPluginFactory2 {
 public:
  virtual tresult VELMORA_VST3_CALL getClassInfoUnicode(int32_t index, PClassInfoW* info) = 0;
  virtual tresult VELMORA_VST3_CALL setHostContext(FUnknown* context) = 0;
  static constexpr Iid kIid = MakeIid(words::kIPluginFactory3);
};

// The category of an audio processor class, and the version this declaration follows.
constexpr const char* kAudioEffectClass = "Audio Module Class";
constexpr const char* kSdkVersionText = "VST 3.7.14";

using GetFactoryProc = IPluginFactory*(VELMORA_VST3_CALL*)();

static_assert(sizeof(PFactoryInfo) == 452, "factory record");
static_assert(sizeof(PClassInfo) == 116, "class record");
static_assert(sizeof(PClassInfo2) == 440, "class record, second form");
static_assert(offsetof(PClassInfo2, classFlags) == 116, "class record, second form");
static_assert(sizeof(PClassInfoW) == 696, "class record, wide form");
static_assert(offsetof(PClassInfoW, classFlags) == 180, "class record, wide form");

}  // namespace velmora::vst3
