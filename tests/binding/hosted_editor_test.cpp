// The editor's requests for another size (its scale changed) reach the binding through the
// resizer it sets, with the size in device pixels and the binding's answer going back.
#include <gtest/gtest.h>

#include "binding/hosted_effect.h"
#include "plugin/velmora_plugin.h"

namespace velmora::binding {
namespace {

struct Requests final : EditorResizer {
  int count = 0;
  int width = 0;
  int height = 0;
  bool grant = true;

  bool ResizeEditor(int newWidth, int newHeight) override {
    ++count;
    width = newWidth;
    height = newHeight;
    return grant;
  }
};

TEST(HostedEditor, SizeRequestsGoToTheBindingsResizerWithItsAnswer) {
  auto hosted = HostedEffect::Create(HostIdentity{}, nullptr);
  ASSERT_TRUE(hosted);
  // No resizer: the request is refused, so the editor keeps its size.
  EXPECT_FALSE(hosted->Plugin().RequestEditorSize(749, 729));
  Requests requests;
  hosted->SetEditorResizer(&requests);
  EXPECT_TRUE(hosted->Plugin().RequestEditorSize(749, 729));
  EXPECT_EQ(requests.count, 1);
  EXPECT_EQ(requests.width, 749);
  EXPECT_EQ(requests.height, 729);
  requests.grant = false;
  EXPECT_FALSE(hosted->Plugin().RequestEditorSize(998, 972));
  EXPECT_EQ(requests.count, 2);
  EXPECT_EQ(requests.width, 998);
  EXPECT_EQ(requests.height, 972);
  // Sizes no window can have never reach the binding.
  EXPECT_FALSE(hosted->Plugin().RequestEditorSize(0, 486));
  EXPECT_EQ(requests.count, 2);
  hosted->SetEditorResizer(nullptr);
  EXPECT_FALSE(hosted->Plugin().RequestEditorSize(499, 486));
  EXPECT_EQ(requests.count, 2);
}

}  // namespace
}  // namespace velmora::binding
