// Another program drags two folders onto a running Kestrav.exe: its own DoDragDrop loop,
// the pointer moved and the button released by injected input.
#include "Input.h"
#include "KestravProcess.h"
#include "support/TempFolder.h"
#include "unit/oledrag/FakeDataObject.h"

#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace e2e;

namespace {

// A drop source as a user's drag makes it: it goes on while the left button is held and
// drops when it is released. The button is read with GetAsyncKeyState, since a press
// injected before the loop began is not in the loop's own key state. On each turn of
// OLE's loop it plays the next step of the hand's movement; it cancels after a bounded
// number of turns.
class HandDropSource final : public IDropSource {
public:
    explicit HandDropSource(std::vector<POINT> path) : path_(std::move(path)) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IDropSource) {
            *ppv = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP QueryContinueDrag(BOOL escape, DWORD) override {
        if (escape || ++turns_ > 3000)
            return DRAGDROP_S_CANCEL;
        if ((GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0)
            return DRAGDROP_S_DROP;
        // Each point of the path is held for a few turns (OLE's loop turns about every
        // 50 ms); after the last one the hand lets go.
        size_t step = static_cast<size_t>(turns_ / 4);
        if (step < path_.size())
            MoveTo(path_[step]);
        else if (!released_) {
            released_ = true;
            e2e::Release(path_.back());
        }
        return S_OK;
    }
    STDMETHODIMP GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    std::vector<POINT> path_;
    int turns_ = 0;
    bool released_ = false;
};

std::vector<HWND> DescendantsOfClass(HWND parent, const std::wstring& className) {
    struct Search {
        std::wstring cls;
        std::vector<HWND> found;
    } search{className, {}};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            wchar_t cls[64] = {};
            GetClassNameW(child, cls, 64);
            if (s->cls == cls)
                s->found.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The frames of an edge window in screen order.
std::vector<HWND> FramesOf(HWND window) {
    std::vector<HWND> frames = DescendantsOfClass(window, L"TNavFrame");
    std::sort(frames.begin(), frames.end(), [](HWND a, HWND b) {
        RECT ra = WindowBounds(a), rb = WindowBounds(b);
        return ra.left != rb.left ? ra.left < rb.left : ra.top < rb.top;
    });
    return frames;
}

// The texts of the top-level items of a tree view in another process.
std::vector<std::wstring> TreeRootTexts(HWND tree, DWORD processId) {
    std::vector<std::wstring> texts;
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr)
        return texts;
    const size_t chars = 512;
    auto* remote = static_cast<unsigned char*>(VirtualAllocEx(
        process, nullptr, sizeof(TVITEMW) + chars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    if (remote != nullptr) {
        auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        for (int guard = 0; item != nullptr && guard < 100; ++guard) {
            TVITEMW request{};
            request.mask = TVIF_TEXT;
            request.hItem = item;
            request.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TVITEMW));
            request.cchTextMax = chars;
            WriteProcessMemory(process, remote, &request, sizeof(request), nullptr);
            SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
            std::wstring text(chars, L'\0');
            ReadProcessMemory(process, remote + sizeof(TVITEMW), text.data(), chars * sizeof(wchar_t),
                              nullptr);
            text.resize(wcsnlen(text.c_str(), chars));
            texts.push_back(text);
            item = reinterpret_cast<HTREEITEM>(
                SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return texts;
}

TEST(Drop, TwoFoldersDraggedFromAnotherProgramBecomeANewFrame) {
    testing_support::TempFolder temp;
    const std::wstring first = L"KestravDropFirst", second = L"KestravDropSecond";
    ASSERT_TRUE(CreateDirectoryW((temp / first).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((temp / second).c_str(), nullptr));

    KestravProcess kestrav;
    HWND window = kestrav.Window();
    ASSERT_NE(window, nullptr);
    RECT strip = WindowBounds(window);
    ASSERT_EQ(strip.right - strip.left, 4) << "the window does not start as a strip";
    ASSERT_EQ(FramesOf(window).size(), 1u);

    // The hand presses away from the strip, moves onto it and rests there until it has
    // opened, then moves to the middle of the title bar and lets go.
    POINT start{700, 400};
    POINT onStrip{strip.left + 1, strip.top + 400};
    POINT titleBar{strip.left + 14, strip.top + 400};
    std::vector<POINT> path{start, {400, 400}, {100, 400}};
    for (int i = 0; i < 20; ++i)
        path.push_back(onStrip); // about a second: the strip opens after 400 ms
    path.insert(path.end(), {titleBar, titleBar, titleBar});
    MoveTo(start);
    Sleep(100);
    Press(start);
    Sleep(100);

    testing_support::FakeDataObject data(testing_support::DropBlock({temp / first, temp / second}));
    data.handsOverMemory = true;
    HandDropSource source(path);
    DWORD effect = DROPEFFECT_NONE;
    HRESULT hr = DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
    Release(titleBar); // in case the loop ended early
    MoveTo({900, 500});

    EXPECT_EQ(hr, DRAGDROP_S_DROP);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_LINK)) << "a drop that opens folders must not be a move";
    ASSERT_TRUE(WaitFor([&] { return FramesOf(window).size() == 2u; }))
        << "no new frame; effect " << effect << ", hr " << std::hex << hr;
    std::vector<HWND> frames = FramesOf(window);
    std::vector<HWND> trees = DescendantsOfClass(frames[1], L"SysTreeView32");
    ASSERT_EQ(trees.size(), 1u);
    std::vector<std::wstring> roots;
    WaitFor([&] {
        roots = TreeRootTexts(trees[0], kestrav.ProcessId());
        return roots.size() == 2u;
    });
    EXPECT_EQ(roots, (std::vector<std::wstring>{first, second}));
    EXPECT_EQ(kestrav.Close(), 0);
}

} // namespace
