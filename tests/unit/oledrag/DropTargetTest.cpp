#include "oledrag/DropTarget.h"
#include "gui/Application.h"
#include "gui/Error.h"
#include "support/Pump.h"
#include "unit/oledrag/FakeDataObject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using oledrag::TDropTarget;
using testing_support::FakeDataObject;

namespace {

const DWORD kAll = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

TEST(DropTargetTest, WithoutHandlersEveryCallSucceedsAndTheStateFollowsTheDrag) {
    TDropTarget target;
    FakeDataObject data;
    EXPECT_EQ(target.DragKey(), 0u);
    EXPECT_EQ(target.DragEffect(), 0u);
    DWORD effect = kAll;
    EXPECT_EQ(target.DragEnter(&data, MK_LBUTTON, {10, 20}, &effect), S_OK);
    EXPECT_EQ(effect, kAll);
    EXPECT_EQ(target.DragKey(), static_cast<DWORD>(MK_LBUTTON));
    EXPECT_EQ(target.DragEffect(), kAll);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target.DragOver(MK_LBUTTON | MK_CONTROL, {11, 20}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(target.DragKey(), static_cast<DWORD>(MK_LBUTTON | MK_CONTROL));
    EXPECT_EQ(target.DragEffect(), kAll); // only the entry decides it
    EXPECT_EQ(target.Drop(&data, 0, {11, 20}, &effect), S_OK);
    EXPECT_EQ(target.DragKey(), 0u);
    EXPECT_EQ(target.DragEffect(), 0u);
    EXPECT_EQ(data.handedOut, 0); // the component itself never reads the data
}

TEST(DropTargetTest, EventsGetOlesArgumentsAndAnswerForIt) {
    TDropTarget target;
    FakeDataObject data;
    std::vector<std::string> calls;
    target.OnDTDragEnter = [&](IDataObject* d, DWORD keys, POINT& pt, DWORD& effect, HRESULT& result) {
        EXPECT_EQ(d, &data);
        EXPECT_EQ(keys, static_cast<DWORD>(MK_LBUTTON));
        EXPECT_EQ(pt.x, 10);
        EXPECT_EQ(pt.y, -20); // screen points left of and above the primary monitor are negative
        EXPECT_EQ(result, S_OK);
        effect = DROPEFFECT_LINK;
        calls.push_back("enter");
    };
    target.OnDTDragOver = [&](DWORD, POINT& pt, DWORD& effect, HRESULT& result) {
        pt.x = 999; // a copy: OLE's point is not touched
        effect = DROPEFFECT_COPY;
        result = S_FALSE;
        calls.push_back("over");
    };
    target.OnDTDragLeave = [&](HRESULT& result) {
        EXPECT_EQ(result, S_OK);
        calls.push_back("leave");
    };
    target.OnDTDrop = [&](IDataObject* d, DWORD, POINT& pt, DWORD& effect, HRESULT& result) {
        EXPECT_EQ(d, &data);
        EXPECT_EQ(pt.x, 30);
        effect = DROPEFFECT_NONE;
        result = E_FAIL;
        calls.push_back("drop");
    };
    DWORD effect = kAll;
    EXPECT_EQ(target.DragEnter(&data, MK_LBUTTON, {10, -20}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_LINK));
    EXPECT_EQ(target.DragEffect(), static_cast<DWORD>(DROPEFFECT_LINK));
    effect = kAll;
    EXPECT_EQ(target.DragOver(MK_LBUTTON, {12, 0}, &effect), S_FALSE);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY)); // what OLE receives
    EXPECT_EQ(target.DragEffect(), static_cast<DWORD>(DROPEFFECT_LINK));
    EXPECT_EQ(target.DragLeave(), S_OK);
    EXPECT_EQ(target.DragKey(), 0u);
    EXPECT_EQ(target.DragEffect(), 0u);
    effect = kAll;
    target.DragEnter(&data, MK_LBUTTON, {10, -20}, &effect);
    EXPECT_EQ(target.Drop(&data, MK_LBUTTON, {30, 0}, &effect), E_FAIL);
    EXPECT_EQ(target.DragKey(), 0u);
    EXPECT_EQ(target.DragEffect(), 0u);
    EXPECT_EQ(calls, (std::vector<std::string>{"enter", "over", "leave", "enter", "drop"}));
}

TEST(DropTargetTest, AnExceptionIsReportedOncePerDragAfterwardsAndAnsweredWithAFailure) {
    std::vector<std::wstring> reports;
    gui::Application::Instance().SetReporter(
        [&](const std::wstring& message) { reports.push_back(message); });
    TDropTarget target;
    FakeDataObject data;
    target.OnDTDragEnter = [](IDataObject*, DWORD, POINT&, DWORD&, HRESULT&) {
        throw gui::UserError(L"入れない");
    };
    target.OnDTDragOver = [](DWORD, POINT&, DWORD&, HRESULT&) { throw std::runtime_error("over"); };
    target.OnDTDrop = [](IDataObject*, DWORD, POINT&, DWORD&, HRESULT&) {
        throw gui::UserError(L"落とせない");
    };

    DWORD effect = kAll;
    EXPECT_TRUE(FAILED(target.DragEnter(&data, MK_LBUTTON, {1, 1}, &effect)));
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = kAll;
    EXPECT_TRUE(FAILED(target.DragOver(MK_LBUTTON, {2, 1}, &effect)));
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = kAll;
    EXPECT_TRUE(FAILED(target.Drop(&data, 0, {2, 1}, &effect)));
    EXPECT_EQ(target.DragKey(), 0u);
    EXPECT_EQ(target.DragEffect(), 0u);
    // Nothing is shown while OLE's loop still waits for the answer.
    EXPECT_TRUE(reports.empty());
    testing_support::PumpUntilIdle();
    EXPECT_EQ(reports, (std::vector<std::wstring>{L"入れない"}));

    // A new drag reports again.
    reports.clear();
    effect = kAll;
    target.DragEnter(&data, MK_LBUTTON, {1, 1}, &effect);
    testing_support::PumpUntilIdle();
    EXPECT_EQ(reports.size(), 1u);
    gui::Application::Instance().SetReporter(nullptr);
}

TEST(DropTargetTest, AnswersOnlyForIDropTargetAndIsNotCounted) {
    TDropTarget target;
    IUnknown* unknown = nullptr;
    ASSERT_EQ(target.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown, static_cast<IUnknown*>(static_cast<IDropTarget*>(&target)));
    IDropTarget* drop = nullptr;
    ASSERT_EQ(target.QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&drop)), S_OK);
    EXPECT_EQ(drop, &target);
    IDataObject* other = nullptr;
    EXPECT_EQ(target.QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&other)), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(target.AddRef(), static_cast<ULONG>(-1));
    EXPECT_EQ(target.Release(), static_cast<ULONG>(-1));
}

TEST(DropTargetTest, ANullEffectPointerFromAHostileCallerIsSurvived) {
    TDropTarget target;
    bool called = false;
    target.OnDTDragOver = [&](DWORD, POINT&, DWORD& effect, HRESULT&) {
        effect = DROPEFFECT_COPY;
        called = true;
    };
    EXPECT_EQ(target.DragEnter(nullptr, 0, {0, 0}, nullptr), S_OK);
    EXPECT_EQ(target.DragOver(0, {0, 0}, nullptr), S_OK);
    EXPECT_TRUE(called);
    EXPECT_EQ(target.Drop(nullptr, 0, {0, 0}, nullptr), S_OK);
}

} // namespace
