// Loading and saving the configuration and the snapshot of the window and its frames:
// the data file read as a value and applied to the window at start; at a save, the
// window's value merged with the file's by part and written.
#include "app/DataFile.h"
#include "app/MainForm.h"
#include "app/SaveMerge.h"
#include "app/SavedStateFile.h"
#include "appdata/XMLRegFile.h"
#include "appdata/XMLRegFileErrors.h"
#include "shell/RootFolderBatch.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

namespace app {

using appdata::TXMLRegFile;

namespace {

// Told once after a save that had to leave items out.
constexpr std::wstring_view kLeftOutText =
    L"名前に XML で表せない文字を含むため、次の %s 件を保存しませんでした。ほかはすべて保存しました。\r\n%s";
constexpr size_t kLeftOutShown = 5;

// Coordinates far beyond any screen are brought within reach, so that adding a size
// to a position cannot overflow.
int Coordinate(int32_t value) {
    return std::clamp(value, -(1 << 24), 1 << 24);
}

// A tree that refuses the stored default styles would leave the window without any
// frame at every start: when not even the desktop's frame can be made, the first
// start's styles are taken instead (false when they were in use already).
bool FallBackToDefaultStyles(shellctrls::TNamespaceTreeControlStyles& styles) {
    auto defaults = shellctrls::TNamespaceTreeControlStyles::FromBits(
        static_cast<uint32_t>(DefaultSavedState().settings.defaultStyles));
    if (styles == defaults)
        return false;
    styles = defaults;
    return true;
}

// The file as a value; what cannot be read gives its default, and the first error is
// kept in error.
TSavedState ReadDataFile(const std::wstring& fileName, std::exception_ptr& error) {
    try {
        TXMLRegFile reg(fileName);
        return ReadSavedState(reg, error);
    } catch (...) {
        if (!error)
            error = std::current_exception();
        return DefaultSavedState();
    }
}

// The file's name, time stamp and size: while they stay the same, so does its content.
std::wstring FileStamp(const std::wstring& fileName) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    std::wstring stamp = fileName;
    if (::GetFileAttributesExW(fileName.c_str(), GetFileExInfoStandard, &data))
        for (DWORD part : {data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime,
                           data.nFileSizeHigh, data.nFileSizeLow})
            stamp += L"|" + std::to_wstring(part);
    return stamp;
}

// A file that cannot be read is kept beside before a new one replaces it; never over an
// older copy: the first free name of .broken, .broken.2, ... One kept already (its stamp
// in kept) is not kept again.
void KeepUnreadableFile(const std::wstring& fileName, std::wstring& kept) {
    if (::GetFileAttributesW(fileName.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    std::wstring stamp = FileStamp(fileName);
    if (stamp == kept)
        return;
    std::wstring copy = BrokenFileName(fileName);
    for (int n = 2; n < 100 && ::GetFileAttributesW(copy.c_str()) != INVALID_FILE_ATTRIBUTES; ++n)
        copy = BrokenFileName(fileName) + L"." + std::to_wstring(n);
    if (!::CopyFileW(fileName.c_str(), copy.c_str(), TRUE))
        throw appdata::EFCreateError(appdata::FormatText(appdata::messages::kCannotCreateFile,
                                                         {copy, gui::SystemMessage(::GetLastError())}));
    kept = stamp;
}

void ReportLeftOut(const std::vector<std::wstring>& texts) {
    std::wstring list;
    for (size_t i = 0; i < texts.size() && i < kLeftOutShown; ++i)
        list += (i > 0 ? L"\r\n" : L"") + texts[i];
    if (texts.size() > kLeftOutShown)
        list += L"\r\n…";
    try {
        throw gui::UserError(appdata::FormatText(kLeftOutText, {std::to_wstring(texts.size()), list}));
    } catch (...) {
        gui::Application::Instance().HandleException();
    }
}

} // namespace

template <typename F> bool TMainForm::LoadStep(F&& step) {
    try {
        step();
        return true;
    } catch (...) {
        if (!FLoadError)
            FLoadError = std::current_exception();
        return false;
    }
}

void TMainForm::LoadSettings() {
    FLoadError = nullptr;
    FDataFileBroken = false;
    TSavedState loaded = ReadDataFile(DataFileName(), FLoadError);
    // Roots name known folders; one batch resolves each of them once for all frames.
    shell::TRootFolderBatch batch;
    ApplySettings(loaded.settings);
    LoadFrames(loaded.frames);

    auto addDesktop = [&] { LoadStep([&] { AddDesktop(); }); };
    if (OrderedFrames().empty())
        addDesktop();
    if (OrderedFrames().empty() && FallBackToDefaultStyles(FDefaultStyles))
        addDesktop();
    FModifies = {};
    FLastKnownFile = std::move(loaded);
    if (FLoadError) {
        // Whatever could not be read is still in the file: keep it beside before a save.
        FDataFileBroken = true;
        ::PostMessageW(Handle(), WM_REPORTLOADERROR, 0, 0);
    }
}

void TMainForm::ApplySettings(const TSettings& settings) {
    // Fields are set as stored; values are not held to the ranges of the options dialog.
    FCollapseSize = settings.collapseSize;
    FExpandWidth = settings.expandWidth;
    FExpandHeight = settings.expandHeight;
    LoadStep([&] { SetBaseColor(static_cast<TColor>(settings.baseColor)); });
    LoadStep([&] { SetColorShift(settings.colorShift); });
    // Only the low byte counts: 300 gives 44.
    LoadStep([&] { SetAlphaBlendValue(static_cast<BYTE>(settings.alphaBlendValue)); });
    FDefaultStyles =
        shellctrls::TNamespaceTreeControlStyles::FromBits(static_cast<uint32_t>(settings.defaultStyles));
    FDefaultFilters =
        shellctrls::TShellContactFilters::FromBits(static_cast<uint16_t>(settings.defaultFilters));
    FMaintains = TChangeParts::FromBits(static_cast<uint8_t>(settings.maintains));
    FHotkey = HotkeyFromStored(settings.hotkey);

    SetBounds(gui::MakeRect(Coordinate(settings.left), Coordinate(settings.top), Coordinate(settings.width),
                            Coordinate(settings.height)));
    // Only the four edges dock and only the three layouts after loading exist; anything
    // else in the file gives the first start's edge and layout.
    int32_t edge = settings.snapEdge, layout = settings.layout;
    LoadStep([&] {
        SetSnapEdge(edge >= gui::alTop && edge <= gui::alRight ? static_cast<TAlign>(edge) : gui::alLeft);
    });
    LoadStep([&] {
        SetLayout(layout >= loCollapsed && layout <= loPinned ? static_cast<TLayout>(layout) : loCollapsed);
    });
    LoadStep([&] { SetTopmost(settings.topmost); });
}

void TMainForm::LoadFrames(const std::vector<TFrameState>& frames) {
    if (frames.empty())
        return;
    // The frames are laid out once when all are there, not once per frame added (which
    // moves every frame before it again: quadratic with many frames).
    struct LayoutHold {
        gui::Window& box;
        explicit LayoutHold(gui::Window& b) : box(b) { box.DisableAlign(); }
        ~LayoutHold() {
            try {
                box.EnableAlign();
            } catch (...) {
                gui::Application::Instance().HandleException();
            }
        }
    } hold(*FScrollBox);
    for (const TFrameState& stored : frames) {
        nav::TNavFrame* frame = nullptr;
        // A frame that cannot be made is skipped; the file keeps it until a save, which
        // first puts the whole file beside.
        if (!LoadStep([&] { frame = &AddFrame(stored.id); })) {
            FDataFileBroken = true;
            continue;
        }
        frame->SetExpandWidth(stored.expandWidth);
        frame->SetExpandHeight(stored.expandHeight);
        LoadStep([&] {
            frame->NameSpaceTree().SetStyles(
                shellctrls::TNamespaceTreeControlStyles::FromBits(static_cast<uint32_t>(stored.styles)));
        });
        frame->SetBounds(
            gui::MakeRect(frame->Left(), frame->Top(), Coordinate(stored.width), Coordinate(stored.height)));
        if (stored.collapsed) {
            frame->SetCollapsed(true);
            // Collapsing takes the current size as the one to expand to again; the
            // stored one is the size the frame had open.
            frame->SetExpandWidth(stored.expandWidth);
            frame->SetExpandHeight(stored.expandHeight);
        }
        for (const TRootState& root : stored.roots) {
            LoadStep([&] {
                shellctrls::TNamespaceTreeRoot& added = AddRoot(frame, L"");
                added.SetFilters(
                    shellctrls::TShellContactFilters::FromBits(static_cast<uint16_t>(root.filters)));
                added.SetPath(root.path);
            });
        }
        frame->RestoreAtCreate();
    }
}

void TMainForm::ReportLoadError() {
    std::exception_ptr error = FLoadError;
    FLoadError = nullptr;
    if (!error)
        return;
    try {
        std::rethrow_exception(error);
    } catch (...) {
        gui::Application::Instance().HandleException();
    }
}

const TSavedState& TMainForm::SnapshotState() {
    const std::wstring& fileName = DataFileName();
    std::wstring stamp = FileStamp(fileName);
    if (!FSnapshotState || stamp != FSnapshotStamp) {
        FSnapshotState.reset();
        FSnapshotFrames.clear();
        // What cannot be read is not restored; loading has told the user already.
        std::exception_ptr ignored;
        auto state = std::make_shared<const TSavedState>(ReadDataFile(fileName, ignored));
        for (size_t i = 0; i < state->frames.size(); ++i)
            FSnapshotFrames.emplace(state->frames[i].id, i);
        FSnapshotState = std::move(state);
        FSnapshotStamp = stamp;
    }
    return *FSnapshotState;
}

nav::TFrameSnapshot TMainForm::ReadFrameSnapshot(int id) {
    nav::TFrameSnapshot snapshot;
    try {
        const TSavedState& file = SnapshotState();
        snapshot.active = file.settings.activeFrame == id;
        auto found = FSnapshotFrames.find(id);
        if (found != FSnapshotFrames.end()) {
            // Each root's list runs on to the end of the tree: every item is taken once.
            std::unordered_set<std::wstring> taken;
            for (const TRootState& root : file.frames[found->second].roots) {
                for (const std::wstring& path : root.expands)
                    if (taken.insert(path).second)
                        snapshot.expands.push_back(path);
                if (root.selected)
                    snapshot.selected.push_back(*root.selected);
            }
        }
    } catch (...) {
    }
    const std::vector<nav::TNavFrame*> frames = OrderedFrames();
    if (std::none_of(frames.begin(), frames.end(), [](nav::TNavFrame* frame) {
            return frame->RestoreState() == nav::TNavFrame::TRestoreState::CreatePending;
        })) {
        FSnapshotState.reset();
        FSnapshotFrames.clear();
    }
    return snapshot;
}

int TMainForm::ActiveFrameId() const {
    // While the application is active the focus tells; otherwise the control that had
    // it when the window was left.
    HWND focus = ::GetFocus();
    if (focus == nullptr || (focus != Handle() && !::IsChild(Handle(), focus)))
        focus = IsOwnControl(FActiveControl) ? FActiveControl : nullptr;
    if (focus == nullptr)
        return 0;
    for (nav::TNavFrame* frame : OrderedFrames()) {
        HWND tree = frame->NameSpaceTree().Handle();
        if (tree != nullptr && (focus == tree || ::IsChild(tree, focus)))
            return frame->ID();
    }
    return 0;
}

TSavedState TMainForm::CurrentState(bool withTrees) {
    TSavedState state;
    TSettings& settings = state.settings;
    settings.collapseSize = FCollapseSize;
    settings.expandWidth = FExpandWidth;
    settings.expandHeight = FExpandHeight;
    settings.baseColor = static_cast<int32_t>(FBaseColor);
    settings.colorShift = FColorShift;
    settings.alphaBlendValue = FAlphaBlendValue;
    settings.defaultStyles = static_cast<int32_t>(FDefaultStyles.Bits());
    settings.defaultFilters = FDefaultFilters.Bits();
    settings.maintains = FMaintains.Bits();
    settings.hotkey = FHotkey;
    RECT bounds = ScreenBounds();
    settings.left = bounds.left;
    settings.top = bounds.top;
    settings.width = gui::Width(bounds);
    settings.height = gui::Height(bounds);
    settings.snapEdge = FSnapEdge;
    settings.layout = FLayout;
    settings.topmost = FTopmost;
    settings.activeFrame = ActiveFrameId();

    for (nav::TNavFrame* shown : OrderedFrames()) {
        TFrameState& frame = state.frames.emplace_back();
        frame.id = shown->ID();
        frame.expandWidth = shown->ExpandWidth();
        frame.expandHeight = shown->ExpandHeight();
        frame.styles = static_cast<int32_t>(shown->NameSpaceTree().Styles().Bits());
        frame.width = shown->Width();
        frame.height = shown->Height();
        frame.collapsed = shown->Collapsed();
        shellctrls::TNamespaceTreeRoots& roots = shown->NameSpaceTree().Roots();
        for (int j = 0; j < roots.Count(); ++j) {
            TRootState& root = frame.roots.emplace_back();
            root.path = roots[j].Path();
            root.filters = roots[j].Filters().Bits();
        }
        if (!withTrees)
            continue;
        frame.treePending = shown->RestoreState() == nav::TNavFrame::TRestoreState::CreatePending;
        nav::TNavFrame::TTreeState tree = shown->TreeState();
        for (size_t j = 0; j < frame.roots.size() && j < tree.expands.size(); ++j) {
            frame.roots[j].expands = std::move(tree.expands[j]);
            if (static_cast<int>(j) == tree.selectedRoot)
                frame.roots[j].selected = tree.selected;
        }
    }
    return state;
}

void TMainForm::SaveSettings(TChangeParts parts) {
    for (TChangePart part : {cpConfig, cpForm, cpFrame, cpTree}) {
        if (!parts.Contains(part))
            ExclModify(part);
    }
    if (FModifies.Empty())
        return;
    const std::wstring& fileName = DataFileName();
    // The file as it is now, unless it cannot be read whole: then what it last held.
    std::unique_ptr<TXMLRegFile> reg;
    std::optional<TSavedState> file;
    if (!FDataFileBroken) {
        try {
            reg = std::make_unique<TXMLRegFile>(fileName);
            std::exception_ptr flaw;
            TSavedState read = ReadSavedState(*reg, flaw);
            if (!flaw)
                file = std::move(read);
        } catch (const appdata::EFOpenError&) {
            // Held by another program, say: the save fails, and the file stays whole.
            throw;
        } catch (...) {
        }
    }
    TSavedState window = CurrentState(FModifies.Contains(cpTree));
    TSavePlan plan = PlanSave({window, file ? &*file : nullptr, FLastKnownFile, parts, FModifies});
    if (plan.newDocument) {
        // A new document, not what was read of the old one: that may hold a node where a
        // value is to go, and would refuse every save.
        KeepUnreadableFile(fileName, FKeptUnreadable);
        reg = std::make_unique<TXMLRegFile>(fileName, TXMLRegFile::TNewDocument{});
    }
    std::vector<std::wstring> leftOut;
    WriteSavedState(*reg, plan.state, plan.newDocument ? AllChangeParts : plan.write, leftOut);
    // Written here, where a failure reaches the caller: the holder's end cannot raise.
    reg->Flush();
    FLastKnownFile = std::move(plan.state);
    FModifies = {};
    FDataFileBroken = false;
    if (!leftOut.empty())
        ReportLeftOut(leftOut);
}

void TMainForm::WMEndSession(bool ending) {
    // The session ends without the window being closed: keep and tell what a normal
    // exit keeps and tells, then end the loop.
    if (!ending || FDestroyed)
        return;
    try {
        FormDestroy();
    } catch (...) {
        gui::Application::Instance().HandleException();
    }
    gui::Application::Instance().Terminate();
}

} // namespace app
