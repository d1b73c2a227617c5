// Dropping folders onto the open edge window: the time from the drop until the new frame
// with its roots is shown and the program is idle again, for 1, 10 and 300 folders, and
// how much of it the drag source waits for (the drop call itself).
#include "app/MainForm.h"
#include "shell/ShellModule.h"
#include "unit/oledrag/FakeDataObject.h"

#include <windows.h>
#include <commctrl.h>

#include "support/BenchProcess.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The messages, then one idle turn: what the program's loop does before it waits.
void PumpAndIdle() {
    PumpUntilIdle();
    gui::Application::Instance().RaiseIdle();
}

// Folders that exist for the benchmark's run.
class Folders {
public:
    explicit Folders(int count) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        base_ = std::wstring(temp) + L"KestravDropBench" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(base_.c_str(), nullptr);
        for (int i = 0; i < count; ++i) {
            paths_.push_back(base_ + L"\\フォルダ " + std::to_wstring(i));
            CreateDirectoryW(paths_.back().c_str(), nullptr);
        }
    }
    ~Folders() {
        for (const std::wstring& path : paths_)
            RemoveDirectoryW(path.c_str());
        RemoveDirectoryW(base_.c_str());
    }
    std::vector<std::wstring> First(int count) const {
        return {paths_.begin(), paths_.begin() + std::min<size_t>(static_cast<size_t>(count), paths_.size())};
    }

private:
    std::wstring base_;
    std::vector<std::wstring> paths_;
};

struct Figures {
    double dropMs;  // the drop call, which the drag source waits for
    double shownMs; // until the frame is shown and the program idle
};

Figures Measure(app::TMainForm& form, const std::vector<std::wstring>& names) {
    testing_support::FakeDataObject data(testing_support::DropBlock(names));
    RECT box = form.ScrollBox().ScreenBounds();
    POINTL at{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    form.DropTarget().DragEnter(&data, MK_LBUTTON, at, &effect);
    form.DropTarget().DragOver(MK_LBUTTON, at, &effect);
    PumpAndIdle();
    double start = NowMs();
    form.DropTarget().Drop(&data, 0, at, &effect);
    Figures figures{NowMs() - start, 0};
    PumpAndIdle();
    figures.shownMs = NowMs() - start;
    // Back to one frame for the next run.
    while (form.OrderedFrames().size() > 1)
        form.DelFrame(*form.OrderedFrames().back());
    PumpAndIdle();
    return figures;
}

} // namespace

int main() {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    {
        shell::ShellModule shellModule;
        Folders folders(300);
        app::TMainForm form;
        form.FormClick();
        form.PinningBtn().Click();
        PumpAndIdle();
        Measure(form, folders.First(1)); // warms up the Shell's caches
        for (int count : {1, 10, 300}) {
            std::vector<double> drop, shown;
            for (int run = 0; run < 5; ++run) {
                Figures f = Measure(form, folders.First(count));
                drop.push_back(f.dropMs);
                shown.push_back(f.shownMs);
            }
            std::sort(drop.begin(), drop.end());
            std::sort(shown.begin(), shown.end());
            std::printf(
                "drop of %3d folder%s: %7.1f ms until the new frame is shown and idle, %7.1f ms in the "
                "drop call (medians of 5; fastest %.1f / %.1f)\n",
                count, count == 1 ? " " : "s", shown[2], drop[2], shown[0], drop[0]);
        }
    }
    OleUninitialize();
    return 0;
}
