// The dispatcher's answers as a host reads them through the effect record.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "tests/frame/fake_editor.h"
#include "tests/frame/fake_host.h"
#include "tests/frame/probe_plugin.h"

namespace velmora::testing {
namespace {

intptr_t CanDo(const PluginInstance& instance, const char* text) {
  return instance.Dispatch(vst::effCanDo, 0, 0, const_cast<char*>(text));
}

TEST(Dispatcher, VersionsIdentityAndCategory) {
  PluginInstance instance;
  EXPECT_EQ(instance.Dispatch(vst::effGetVstVersion), 2400);
  EXPECT_EQ(instance.Dispatch(vst::effGetVendorVersion), 10000);
  EXPECT_EQ(instance.Dispatch(vst::effGetPlugCategory), 1);
  EXPECT_EQ(instance.Dispatch(vst::effIdentify), 0x4E764566);
  EXPECT_EQ(instance.Dispatch(vst::effCanBeAutomated, 999), 1);
  char name[128];
  EXPECT_EQ(instance.Dispatch(vst::effGetEffectName, 0, 0, name), 1);
  EXPECT_STREQ(name, "Velmora");
  EXPECT_EQ(instance.Dispatch(vst::effGetVendorString, 0, 0, name), 1);
  EXPECT_STREQ(name, "Tolvane");
  EXPECT_EQ(instance.Dispatch(vst::effGetProductString, 0, 0, name), 1);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(instance.Dispatch(vst::effGetEffectName), 0);
  EXPECT_EQ(instance.Dispatch(vst::effProcessVarIo, 0, 0, name), 0);
}

TEST(Dispatcher, CanDoAnswers) {
  PluginInstance instance;
  EXPECT_EQ(CanDo(instance, "receiveVstTimeInfo"), 1);
  EXPECT_EQ(CanDo(instance, "ReceiveVstTimeInfo"), 0);
  EXPECT_EQ(CanDo(instance, "receiveVstTimeInfoX"), 0);
  EXPECT_EQ(CanDo(instance, "hasCockosExtensions"), 0xBEEF0000);
  EXPECT_EQ(CanDo(instance, "hasCockosViewAsConfig"), 0xBEEF0000);
  EXPECT_EQ(CanDo(instance, "receiveVstEvents"), 0);  // no MIDI
  EXPECT_EQ(CanDo(instance, "sendVstMidiEvent"), 0);
  EXPECT_EQ(CanDo(instance, "bypass"), 0);
  EXPECT_EQ(instance.Dispatch(vst::effCanDo), 0);
}

TEST(Dispatcher, PinProperties) {
  PluginInstance instance;
  vst::VstPinProperties pin{};
  std::memset(pin.shortLabel, 'k', sizeof(pin.shortLabel));
  EXPECT_EQ(instance.Dispatch(vst::effGetInputProperties, 0, 0, &pin), 1);
  EXPECT_EQ(pin.flags, 3);
  EXPECT_STREQ(pin.label, "Input 1");
  EXPECT_EQ(pin.shortLabel[7], 'k');  // nothing written beyond what is answered
  EXPECT_EQ(instance.Dispatch(vst::effGetInputProperties, 1, 0, &pin), 1);
  EXPECT_EQ(pin.flags, 1);
  EXPECT_STREQ(pin.label, "Input 2");
  EXPECT_EQ(instance.Dispatch(vst::effGetOutputProperties, 1, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Output 2");
  EXPECT_EQ(instance.Dispatch(vst::effGetInputProperties, 2, 0, &pin), 0);
  EXPECT_EQ(instance.Dispatch(vst::effGetOutputProperties, -1, 0, &pin), 0);
  EXPECT_EQ(instance.Dispatch(vst::effGetOutputProperties, 0, 0, nullptr), 0);
}

TEST(Dispatcher, SpeakerArrangements) {
  PluginInstance instance;
  VSTCLASS& plugin = instance.plugin();
  vst::VstSpeakerArrangement* in = nullptr;
  vst::VstSpeakerArrangement* out = nullptr;
  EXPECT_EQ(
      instance.Dispatch(vst::effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out),
      1);
  ASSERT_NE(in, nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(in->type, vst::kSpeakerArrStereo);
  EXPECT_EQ(in->numChannels, 2);
  EXPECT_EQ(out->numChannels, 2);

  vst::VstSpeakerArrangement mono{};
  mono.numChannels = 1;
  EXPECT_EQ(instance.Dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&mono)),
            1);
  EXPECT_TRUE(plugin.InputConnected(0));
  EXPECT_FALSE(plugin.InputConnected(1));
  EXPECT_TRUE(plugin.OutputConnected(1));  // no output arrangement given
  EXPECT_EQ(in->numChannels, 2);           // the reported arrangement is unchanged

  vst::VstSpeakerArrangement stereo{};
  stereo.numChannels = 2;
  instance.Dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&stereo), &mono);
  EXPECT_TRUE(plugin.InputConnected(1));
  EXPECT_FALSE(plugin.OutputConnected(1));
  vst::VstSpeakerArrangement absurd{};
  absurd.numChannels = -7;
  instance.Dispatch(vst::effSetSpeakerArrangement, 0, 0, &absurd);
  EXPECT_FALSE(plugin.OutputConnected(0));
}

TEST(Dispatcher, ActiveStateFollowsMainsBypassAndProcessing) {
  FakeHost host;
  auto* probe = new ProbePlugin(host);
  vst::AEffect* effect = probe->Effect();
  const auto dispatch = [effect](int32_t opcode, intptr_t value) {
    return effect->dispatcher(effect, opcode, 0, value, nullptr, 0.0f);
  };
  EXPECT_EQ(dispatch(vst::effSetBypass, 1), 0);
  EXPECT_EQ(dispatch(vst::effSetBypass, 0), 0);
  EXPECT_EQ(dispatch(vst::effStartProcess, 0), 0);
  EXPECT_EQ(dispatch(vst::effStopProcess, 0), 0);
  for (int32_t opcode : {62, 63, 64, 65, 67, 68}) {
    EXPECT_EQ(dispatch(opcode, 0), 0);
  }
  EXPECT_EQ(probe->events, (std::vector<std::string>{"off", "on", "on", "off", "on", "on", "on",
                                                     "on", "on", "on"}));
  dispatch(vst::effClose, 0);
}

TEST(Dispatcher, String2Parameter) {
  PluginInstance instance;
  VSTCLASS& plugin = instance.plugin();
  char text[32] = "Highpass";
  EXPECT_EQ(instance.Dispatch(vst::effString2Parameter, 6, 0, text), 1);
  EXPECT_EQ(plugin.Param(6)->Value(), 2.0);
  std::strcpy(text, "250");  // clamped to the range
  EXPECT_EQ(instance.Dispatch(vst::effString2Parameter, 3, 0, text), 1);
  EXPECT_EQ(plugin.Param(3)->Value(), 100.0);
  // Typed fractions land on the parameter's whole steps, so the display (which truncates)
  // and the engine (which rounds) agree on what is heard.
  std::strcpy(text, "-70.5");
  instance.Dispatch(vst::effString2Parameter, 21, 0, text);
  EXPECT_EQ(plugin.Param(21)->Value(), -70.0);
  std::strcpy(text, "1.7");
  instance.Dispatch(vst::effString2Parameter, 6, 0, text);
  EXPECT_EQ(plugin.Param(6)->Value(), 2.0);
  char display[32] = "";
  instance.Dispatch(vst::effGetParamDisplay, 6, 0, display);
  EXPECT_STREQ(display, "Highpass");
  EXPECT_EQ(instance.Dispatch(vst::effString2Parameter, 5, 0, nullptr), 1);
  EXPECT_EQ(plugin.Param(5)->Value(), 40.0);
  EXPECT_EQ(instance.Dispatch(vst::effString2Parameter, 22, 0, text), 0);
}

TEST(Dispatcher, VendorSpecificRequests) {
  PluginInstance instance;
  char text[64] = "50";
  // 27: a typed text turned into its normalised value, for the integer parameter 0..100.
  EXPECT_EQ(instance.Dispatch(vst::effVendorSpecific, 27, 3, text), 0xBEEF);
  EXPECT_STREQ(text, "0.50000000000000000");
  text[0] = '\0';
  EXPECT_EQ(instance.Dispatch(vst::effVendorSpecific, 27, 3, text), 0xBEEF);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(instance.Dispatch(vst::effVendorSpecific, 27, 22, text), 0);
  EXPECT_EQ(instance.Dispatch(vst::effVendorSpecific, 27, 3, nullptr), 0);
  // 8: two-state parameters.
  EXPECT_EQ(instance.Dispatch(vst::effVendorSpecific, 8, 18), 0xBEEF);  // two values
  EXPECT_EQ(instance.Dispatch(vst::effVendorSpecific, 8, 6), 0);        // three values
  EXPECT_EQ(instance.Dispatch(vst::effVendorSpecific, 8, 3), 0);
  EXPECT_EQ(instance.Dispatch(vst::effVendorSpecific, 8, -1), 0);
  // 7: the display of a normalised value.
  EXPECT_EQ(instance.Dispatch(vst::effVendorSpecific, 7, 4, text, 0.5f), 0xBEEF);
  EXPECT_STREQ(text, "5015");
  EXPECT_EQ(instance.Dispatch(vst::effVendorSpecific, 7, 1, text, 0.0f), 0xBEEF);
  EXPECT_STREQ(text, "Triplet");
  std::strcpy(text, "keep");
  EXPECT_EQ(instance.Dispatch(vst::effVendorSpecific, 7, 40, text, 0.5f), 0xBEEF);
  EXPECT_STREQ(text, "keep");
  EXPECT_EQ(instance.Dispatch(vst::effVendorSpecific, 7, 4, nullptr, 0.5f), 0);
  // The wheel request and unknown requests without an editor.
  EXPECT_EQ(instance.Dispatch(vst::effVendorSpecific, 0x73744341, 0x57686565, nullptr, 1.0f), 0);
  EXPECT_EQ(instance.Dispatch(vst::effVendorSpecific, 99, 0, text), 0);
}

TEST(Dispatcher, EditorRequestsWithoutAnEditorAnswerZero) {
  FakeHost host;
  ProbePlugin probe(host);  // the effect itself always builds its editor
  vst::AEffect* effect = probe.Effect();
  auto dispatch = [effect](int32_t opcode, void* ptr = nullptr) {
    return effect->dispatcher(effect, opcode, 0, 0, ptr, 0.0f);
  };
  vst::ERect* rect = nullptr;
  EXPECT_EQ(dispatch(vst::effEditGetRect, &rect), 0);
  EXPECT_EQ(rect, nullptr);
  EXPECT_EQ(dispatch(vst::effEditOpen), 0);
  EXPECT_EQ(dispatch(vst::effEditClose), 0);
  EXPECT_EQ(dispatch(vst::effEditIdle), 0);
  EXPECT_EQ(dispatch(vst::effIdle), 0);
}

// Hosts allocate the event list with as many entries as they send, beyond the two the
// declaration shows.
TEST(Dispatcher, EventListsLongerThanTheDeclaredTwoAreReadWhole) {
  FakeHost host;
  auto* probe = new ProbePlugin(host);
  vst::VstMidiEvent notes[4] = {};
  struct {
    int32_t numEvents;
    intptr_t reserved;
    vst::VstEvent* events[4];
  } list{4, 0, {}};
  static_assert(offsetof(decltype(list), events) == offsetof(vst::VstEvents, events));
  for (int i = 0; i < 4; ++i) {
    notes[i].type = vst::kVstMidiType;
    notes[i].midiData[0] = static_cast<char>(0x90 + i);
    list.events[i] = reinterpret_cast<vst::VstEvent*>(&notes[i]);
  }
  vst::AEffect* effect = probe->Effect();
  EXPECT_EQ(effect->dispatcher(effect, vst::effProcessEvents, 0, 0, &list, 0.0f), 1);
  EXPECT_EQ(probe->midiStatus, (std::vector<int>{0x90, 0x91, 0x92, 0x93}));
  effect->dispatcher(effect, vst::effClose, 0, 0, nullptr, 0.0f);
}

TEST(Dispatcher, EventsAndMidiKeyNames) {
  PluginInstance instance;
  vst::VstMidiEvent note{};
  note.type = vst::kVstMidiType;
  note.midiData[0] = static_cast<char>(0x90);
  vst::VstEvents events{};
  events.numEvents = 2;
  events.events[0] = reinterpret_cast<vst::VstEvent*>(&note);
  events.events[1] = nullptr;
  EXPECT_EQ(instance.Dispatch(vst::effProcessEvents, 0, 0, &events), 1);
  EXPECT_EQ(instance.Dispatch(vst::effProcessEvents), 0);
  vst::MidiKeyName key{};
  std::strcpy(key.keyName, "old");
  key.thisKeyNumber = 60;
  EXPECT_EQ(instance.Dispatch(vst::effGetMidiKeyName, 0, 0, &key), 0);
  EXPECT_STREQ(key.keyName, "");
  EXPECT_EQ(instance.Dispatch(vst::effGetMidiKeyName), 0);
}

TEST(Dispatcher, EditorRequestsReachTheAttachedEditor) {
  bool deleted = false;
  {
    PluginInstance instance;
    auto* editor = new FakeEditor;
    editor->deleted = &deleted;
    instance.plugin().AttachEditor(editor);
    vst::ERect* rect = nullptr;
    EXPECT_EQ(instance.Dispatch(vst::effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right, 499);
    EXPECT_EQ(rect->bottom, 486);
    EXPECT_EQ(instance.Dispatch(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(0x1234)), 1);
    EXPECT_EQ(editor->openedWith, 0x1234);
    EXPECT_EQ(instance.Dispatch(vst::effEditClose), 1);
    EXPECT_EQ(editor->closes, 1);
    editor->opens = false;
    EXPECT_EQ(instance.Dispatch(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(0x1234)), 0);
    EXPECT_EQ(instance.Dispatch(vst::effVendorSpecific, 0x73744341, 0x57686565, nullptr, 2.0f), 1);
    EXPECT_EQ(editor->wheel, 2.0f);
    EXPECT_EQ(instance.Dispatch(vst::effVendorSpecific, 0x73744341, 0, nullptr, 2.0f), 0);
    char text[32] = "Highpass";
    editor->shown.clear();
    instance.Dispatch(vst::effString2Parameter, 13, 0, text);
    ASSERT_EQ(editor->shown.size(), 1u);
    EXPECT_EQ(editor->shown[0].value, 2.0);
    EXPECT_FALSE(editor->shown[0].isNormalised);
    EXPECT_EQ(instance.Dispatch(vst::effEditOpen, 0, 0, nullptr), 0);
  }
  EXPECT_TRUE(deleted);  // closing the instance deletes its editor
}

}  // namespace
}  // namespace velmora::testing
