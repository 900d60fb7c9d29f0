// The editor's requests for another size (its scale changed) reach the binding through the
// hook it sets, with the size in device pixels and the binding's answer going back.
#include <gtest/gtest.h>

#include "binding/hosted_effect.h"
#include "plugin/velmora_plugin.h"

namespace velmora::binding {
namespace {

struct Requests {
  int count = 0;
  int width = 0;
  int height = 0;
  bool grant = true;
};

bool Record(void* context, int width, int height) {
  auto* requests = static_cast<Requests*>(context);
  ++requests->count;
  requests->width = width;
  requests->height = height;
  return requests->grant;
}

TEST(HostedEditor, SizeRequestsGoToTheBindingsHookWithItsAnswer) {
  auto hosted = HostedEffect::Create(HostIdentity{}, nullptr);
  ASSERT_TRUE(hosted);
  // No hook: the request is refused, so the editor keeps its size.
  EXPECT_FALSE(hosted->Plugin().RequestEditorSize(749, 729));
  Requests requests;
  hosted->SetEditorResizeHook(&Record, &requests);
  EXPECT_TRUE(hosted->Plugin().RequestEditorSize(749, 729));
  EXPECT_EQ(requests.count, 1);
  EXPECT_EQ(requests.width, 749);
  EXPECT_EQ(requests.height, 729);
  requests.grant = false;
  EXPECT_FALSE(hosted->Plugin().RequestEditorSize(998, 972));
  EXPECT_EQ(requests.count, 2);
  EXPECT_EQ(requests.width, 998);
  EXPECT_EQ(requests.height, 972);
  hosted->SetEditorResizeHook(nullptr, nullptr);
  EXPECT_FALSE(hosted->Plugin().RequestEditorSize(499, 486));
  EXPECT_EQ(requests.count, 2);
}

}  // namespace
}  // namespace velmora::binding
