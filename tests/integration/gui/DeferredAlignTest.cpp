// Many size changes, one layout: a container whose aligning is held back lays out its
// children once, when the last hold ends.
#include "gui/Panel.h"

#include <gtest/gtest.h>

using namespace gui;

namespace {

class AlignHost : public Window {
public:
    AlignHost() : Window(nullptr) {
        SetBounds(MakeRect(100, 100, 400, 300));
        CreateParams params;
        params.className = L"TestAlignHost";
        params.style = WS_POPUP | WS_CLIPCHILDREN;
        CreateHandle(params);
    }
    int layouts = 0;

protected:
    void Realigned() override { ++layouts; }
};

TEST(DeferredAlign, LaysOutOnceWhenTheLastHoldEnds) {
    AlignHost host;
    Panel first(host);
    first.SetBounds(MakeRect(0, 0, 50, 10));
    first.SetAlign(alLeft);
    Panel second(host);
    second.SetBounds(MakeRect(0, 0, 60, 10));
    second.SetAlign(alLeft);
    ASSERT_EQ(second.Left(), 50);

    host.DisableAlign();
    host.DisableAlign();
    host.layouts = 0;
    first.SetWidth(80);
    first.SetWidth(90);
    EXPECT_EQ(second.Left(), 50); // held back
    host.EnableAlign();
    EXPECT_EQ(second.Left(), 50); // one hold is still there
    EXPECT_EQ(host.layouts, 0);
    host.EnableAlign();
    EXPECT_EQ(second.Left(), 90);
    EXPECT_EQ(host.layouts, 1);

    // Without a change while held there is nothing to lay out; an extra enable is harmless.
    host.DisableAlign();
    host.EnableAlign();
    host.EnableAlign();
    EXPECT_EQ(host.layouts, 1);
    first.SetWidth(70);
    EXPECT_EQ(second.Left(), 70);
}

} // namespace
