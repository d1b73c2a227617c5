// Loading and saving the configuration and the snapshot of the window and its frames.
#include "app/DataFile.h"
#include "app/FrameIds.h"
#include "app/MainForm.h"
#include "appdata/XMLRegFile.h"
#include "appdata/XMLRegFileErrors.h"
#include "appdata/XMLTextForms.h"
#include "shell/DelimitedText.h"
#include "shell/ItemPath.h"
#include "shell/RootFolderBatch.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace app {

using appdata::TXMLRegFile;

// Reads values for loading: a missing file, node or value gives the default, and so
// does a value that does not parse, whose error is kept (the first one) to be
// reported once, while the rest of the file still loads.
class SettingsReader {
public:
    SettingsReader(TXMLRegFile* reg, std::exception_ptr& firstError) : reg_(reg), firstError_(firstError) {}

    bool Open(const std::wstring& path) {
        opened_ = reg_ != nullptr && Guard([&] { return reg_->OpenNode(path, true); }, false);
        return opened_;
    }
    int32_t Int(const wchar_t* name, int32_t fallback) {
        return opened_ ? Guard([&] { return reg_->ReadIntDef(name, fallback); }, fallback) : fallback;
    }
    bool Bool(const wchar_t* name, bool fallback) {
        return opened_ ? Guard([&] { return reg_->ReadBoolDef(name, fallback); }, fallback) : fallback;
    }
    std::wstring Str(const wchar_t* name, const std::wstring& fallback) {
        return opened_ ? Guard([&] { return reg_->ReadStrDef(name, fallback); }, fallback) : fallback;
    }
    std::vector<std::wstring> NodeNames() {
        std::vector<std::wstring> names;
        if (opened_)
            Guard(
                [&] {
                    reg_->GetNodeNames(names);
                    return true;
                },
                false);
        return names;
    }
    // Runs a step of loading; an error in it is kept and the step skipped.
    template <typename F, typename T> T Guard(F&& step, T fallback) {
        try {
            return step();
        } catch (...) {
            Note();
            return fallback;
        }
    }
    void Note() {
        if (!firstError_)
            firstError_ = std::current_exception();
    }
    bool Failed() const { return firstError_ != nullptr; }

private:
    TXMLRegFile* reg_;
    std::exception_ptr& firstError_;
    bool opened_ = false;
};

namespace {

constexpr int32_t kDefaultStyles = 0x10061;
constexpr int32_t kDefaultFilters = 6;
constexpr int32_t kBtnFace = -16777201; // clBtnFace as a signed 32-bit value

// Coordinates far beyond any screen are brought within reach, so that adding a size
// to a position cannot overflow.
int Coordinate(int32_t value) {
    return std::clamp(value, -(1 << 24), 1 << 24);
}

// The id in a frame node's name ("Id.12" gives 12): the text from the fourth
// character on, at most 260 characters, read as a decimal integer.
std::optional<int32_t> FrameIdOfNodeName(const std::wstring& name, std::wstring& text) {
    text = name.size() > 3 ? name.substr(3, 260) : std::wstring();
    return appdata::TextToInteger(text);
}

// A tree that refuses the stored default styles would leave the window without any
// frame at every start: when not even the desktop's frame can be made, the first
// start's styles are taken instead (false when they were in use already).
bool FallBackToDefaultStyles(shellctrls::TNamespaceTreeControlStyles& styles) {
    auto defaults = shellctrls::TNamespaceTreeControlStyles::FromBits(static_cast<uint32_t>(kDefaultStyles));
    if (styles == defaults)
        return false;
    styles = defaults;
    return true;
}

std::wstring FrameNode(int id) {
    return L"\\Snapshot\\Frames\\Id." + std::to_wstring(id);
}

} // namespace

void TMainForm::LoadSettings() {
    FLoadError = nullptr;
    FDataFileBroken = false;
    std::unique_ptr<TXMLRegFile> reg;
    try {
        reg = std::make_unique<TXMLRegFile>(DataFileName());
    } catch (...) {
        // A file that cannot be read is left as it is: everything starts from the
        // defaults, and the file is kept beside before a save replaces it.
        FLoadError = std::current_exception();
        FDataFileBroken = true;
    }
    SettingsReader reader(reg.get(), FLoadError);
    // Roots name known folders; one batch resolves each of them once for all frames.
    shell::TRootFolderBatch batch;

    reader.Open(L"\\Configuration");
    FCollapseSize = reader.Int(L"CollapseSize", 4);
    FExpandWidth = reader.Int(L"ExpandWidth", 300);
    FExpandHeight = reader.Int(L"ExpandHeight", 225);
    SetBaseColor(static_cast<TColor>(reader.Int(L"BaseColor", kBtnFace)));
    SetColorShift(reader.Bool(L"ColorShift", true));
    // Only the low byte counts: 300 gives 44.
    SetAlphaBlendValue(static_cast<BYTE>(reader.Int(L"AlphaBlendValue", 64)));
    FDefaultStyles = shellctrls::TNamespaceTreeControlStyles::FromBits(
        static_cast<uint32_t>(reader.Int(L"DefaultStyles", kDefaultStyles)));
    FDefaultFilters = shellctrls::TShellContactFilters::FromBits(
        static_cast<uint16_t>(reader.Int(L"DefaultFilters", kDefaultFilters)));
    FMaintains = TChangeParts::FromBits(static_cast<uint8_t>(reader.Int(L"Maintains", 0)));
    FHotkey = HotkeyFromStored(reader.Int(L"Hotkey", kDefaultHotkey));

    reader.Open(L"\\Snapshot");
    int left = Coordinate(reader.Int(L"Left", 0));
    int top = Coordinate(reader.Int(L"Top", 0));
    int width = Coordinate(reader.Int(L"Width", FExpandWidth));
    int height = Coordinate(reader.Int(L"Height", FExpandHeight));
    SetBounds(gui::MakeRect(left, top, width, height));
    // Only the four edges dock and only the three layouts after loading exist; anything
    // else in the file gives the first start's edge and layout.
    int32_t edge = reader.Int(L"SnapEdge", gui::alLeft);
    int32_t layout = reader.Int(L"Layout", loCollapsed);
    bool topmost = reader.Bool(L"Topmost", false);
    reader.Guard(
        [&] {
            SetSnapEdge(edge >= gui::alTop && edge <= gui::alRight ? static_cast<TAlign>(edge) : gui::alLeft);
            return true;
        },
        false);
    reader.Guard(
        [&] {
            SetLayout(layout >= loCollapsed && layout <= loPinned ? static_cast<TLayout>(layout)
                                                                  : loCollapsed);
            return true;
        },
        false);
    reader.Guard(
        [&] {
            SetTopmost(topmost);
            return true;
        },
        false);

    LoadFrames(reader);
    reg.reset();

    auto addDesktop = [&] {
        reader.Guard(
            [&] {
                AddDesktop();
                return true;
            },
            false);
    };
    if (OrderedFrames().empty())
        addDesktop();
    if (OrderedFrames().empty() && FallBackToDefaultStyles(FDefaultStyles))
        addDesktop();
    FModifies = {};
    if (FLoadError) {
        // Whatever could not be read is still in the file: keep it beside before a save.
        FDataFileBroken = true;
        ::PostMessageW(Handle(), WM_REPORTLOADERROR, 0, 0);
    }
}

void TMainForm::LoadFrames(SettingsReader& reader) {
    if (!reader.Open(L"\\Snapshot\\Frames"))
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
    for (const std::wstring& name : reader.NodeNames()) {
        std::wstring idText;
        std::optional<int32_t> id = FrameIdOfNodeName(name, idText);
        // A node that names no id, or one in use, is skipped; the file keeps it until a
        // save, which first puts the whole file beside.
        if (!id) {
            reader.Guard(
                [&]() -> bool {
                    throw appdata::EConvertError(
                        appdata::FormatText(appdata::messages::kNotInteger, {idText}));
                },
                false);
            FDataFileBroken = true;
            continue;
        }
        nav::TNavFrame* frame =
            reader.Guard([&] { return &AddFrame(*id); }, static_cast<nav::TNavFrame*>(nullptr));
        if (frame == nullptr) {
            FDataFileBroken = true;
            continue;
        }
        std::wstring node = L"\\Snapshot\\Frames\\" + name;
        reader.Open(node);
        int expandWidth = reader.Int(L"ExpandWidth", 300);
        int expandHeight = reader.Int(L"ExpandHeight", 225);
        frame->SetExpandWidth(expandWidth);
        frame->SetExpandHeight(expandHeight);
        auto styles = shellctrls::TNamespaceTreeControlStyles::FromBits(
            static_cast<uint32_t>(reader.Int(L"Styles", kDefaultStyles)));
        reader.Guard(
            [&] {
                frame->NameSpaceTree().SetStyles(styles);
                return true;
            },
            false);

        reader.Open(node + L"\\Tree");
        int width = Coordinate(reader.Int(L"Width", expandWidth));
        int height = Coordinate(reader.Int(L"Height", expandHeight));
        bool collapsed = reader.Bool(L"Collapsed", false);
        frame->SetBounds(gui::MakeRect(frame->Left(), frame->Top(), width, height));
        if (collapsed) {
            frame->SetCollapsed(true);
            // Collapsing takes the current size as the one to expand to again; the
            // stored one is the size the frame had open.
            frame->SetExpandWidth(expandWidth);
            frame->SetExpandHeight(expandHeight);
        }

        if (reader.Open(node + L"\\Tree\\Roots")) {
            for (const std::wstring& rootName : reader.NodeNames()) {
                if (!reader.Open(node + L"\\Tree\\Roots\\" + rootName))
                    continue;
                auto filters = shellctrls::TShellContactFilters::FromBits(
                    static_cast<uint16_t>(reader.Int(L"Filters", kDefaultFilters)));
                std::wstring path = reader.Str(L"Path", L"rfDesktop");
                reader.Guard(
                    [&] {
                        shellctrls::TNamespaceTreeRoot& root = AddRoot(frame, L"");
                        root.SetFilters(filters);
                        root.SetPath(path);
                        return true;
                    },
                    false);
            }
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

appdata::TXMLRegFile& TMainForm::SnapshotFile() {
    const std::wstring& fileName = DataFileName();
    WIN32_FILE_ATTRIBUTE_DATA data{};
    std::wstring stamp = fileName;
    if (::GetFileAttributesExW(fileName.c_str(), GetFileExInfoStandard, &data))
        for (DWORD part : {data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime,
                           data.nFileSizeHigh, data.nFileSizeLow})
            stamp += L"|" + std::to_wstring(part);
    if (!FSnapshotFile || stamp != FSnapshotStamp) {
        FSnapshotFile.reset();
        FSnapshotFile = std::make_shared<TXMLRegFile>(fileName);
        FSnapshotStamp = stamp;
    }
    return *FSnapshotFile;
}

nav::TFrameSnapshot TMainForm::ReadFrameSnapshot(int id) {
    nav::TFrameSnapshot snapshot;
    // What cannot be read is not restored; loading has told the user already.
    try {
        TXMLRegFile& reg = SnapshotFile();
        if (reg.OpenNode(L"\\Snapshot", true))
            snapshot.active = reg.ReadIntDef(L"ActiveFrame", 0) == id;
        std::wstring key = FrameNode(id) + L"\\Tree";
        if (reg.OpenNode(key + L"\\Roots", true)) {
            std::vector<std::wstring> names;
            reg.GetNodeNames(names);
            for (const std::wstring& name : names) {
                if (!reg.OpenNode(key + L"\\Roots\\" + name, true))
                    continue;
                std::vector<std::wstring> expands =
                    shell::DecodeDelimitedText(reg.ReadStrDef(L"Expands", L""), L',');
                snapshot.expands.insert(snapshot.expands.end(), expands.begin(), expands.end());
                if (reg.ValueExists(L"Selected"))
                    snapshot.selected.push_back(reg.ReadString(L"Selected"));
            }
        }
    } catch (...) {
    }
    const std::vector<nav::TNavFrame*> frames = OrderedFrames();
    if (std::none_of(frames.begin(), frames.end(), [](nav::TNavFrame* frame) {
            return frame->RestoreState() == nav::TNavFrame::TRestoreState::CreatePending;
        }))
        FSnapshotFile.reset();
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

std::unique_ptr<TXMLRegFile> TMainForm::OpenDataFileForSaving() {
    const std::wstring& fileName = DataFileName();
    bool kept = false;
    if (FDataFileBroken && ::GetFileAttributesW(fileName.c_str()) != INVALID_FILE_ATTRIBUTES) {
        // Never over an older copy: the first free name of .broken, .broken.2, ...
        std::wstring copy = BrokenFileName(fileName);
        for (int n = 2; n < 100 && ::GetFileAttributesW(copy.c_str()) != INVALID_FILE_ATTRIBUTES; ++n)
            copy = BrokenFileName(fileName) + L"." + std::to_wstring(n);
        if (!::CopyFileW(fileName.c_str(), copy.c_str(), TRUE))
            throw appdata::EFCreateError(appdata::FormatText(appdata::messages::kCannotCreateFile,
                                                             {copy, gui::SystemMessage(::GetLastError())}));
        kept = true;
    }
    if (!kept)
        return std::make_unique<TXMLRegFile>(fileName);
    // With its copy kept beside, the save starts a new document with everything the
    // window has: what was read of the old one may still hold a node where a value is
    // to go (or not parse at all), and would refuse the save every time.
    FModifies = AllChangeParts;
    if (!::DeleteFileW(fileName.c_str()))
        throw appdata::EFCreateError(appdata::FormatText(appdata::messages::kCannotCreateFile,
                                                         {fileName, gui::SystemMessage(::GetLastError())}));
    return std::make_unique<TXMLRegFile>(fileName);
}

void TMainForm::SaveSettings(TChangeParts parts) {
    for (TChangePart part : {cpConfig, cpForm, cpFrame, cpTree}) {
        if (!parts.Contains(part))
            ExclModify(part);
    }
    if (FModifies.Empty())
        return;
    {
        std::unique_ptr<TXMLRegFile> reg = OpenDataFileForSaving();
        if (FModifies.Contains(cpConfig)) {
            reg->OpenNode(L"\\Configuration", true);
            reg->WriteInteger(L"CollapseSize", FCollapseSize);
            reg->WriteInteger(L"ExpandWidth", FExpandWidth);
            reg->WriteInteger(L"ExpandHeight", FExpandHeight);
            reg->WriteInteger(L"BaseColor", static_cast<int32_t>(FBaseColor));
            reg->WriteBool(L"ColorShift", FColorShift);
            reg->WriteInteger(L"AlphaBlendValue", FAlphaBlendValue);
            reg->WriteInteger(L"DefaultStyles", static_cast<int32_t>(FDefaultStyles.Bits()));
            reg->WriteInteger(L"DefaultFilters", FDefaultFilters.Bits());
            reg->WriteInteger(L"Maintains", FMaintains.Bits());
            reg->WriteInteger(L"Hotkey", FHotkey);
        }
        bool frames = FModifies.Contains(cpFrame);
        bool trees = FModifies.Contains(cpTree);
        if (FModifies.Contains(cpForm) || frames || trees) {
            reg->OpenNode(L"\\Snapshot", true);
            if (FModifies.Contains(cpForm)) {
                RECT bounds = ScreenBounds();
                reg->WriteInteger(L"Left", bounds.left);
                reg->WriteInteger(L"Top", bounds.top);
                reg->WriteInteger(L"Width", gui::Width(bounds));
                reg->WriteInteger(L"Height", gui::Height(bounds));
                reg->WriteInteger(L"SnapEdge", FSnapEdge);
                reg->WriteInteger(L"Layout", FLayout);
                reg->WriteBool(L"Topmost", FTopmost);
            }
            if (frames || trees) {
                reg->WriteInteger(L"ActiveFrame", ActiveFrameId());
                if (frames)
                    reg->ClearNodes();
                for (nav::TNavFrame* frame : OrderedFrames()) {
                    std::wstring node = FrameNode(frame->ID());
                    if (frames) {
                        reg->OpenNode(node, true);
                        reg->WriteInteger(L"ExpandWidth", frame->ExpandWidth());
                        reg->WriteInteger(L"ExpandHeight", frame->ExpandHeight());
                        reg->WriteInteger(L"Styles",
                                          static_cast<int32_t>(frame->NameSpaceTree().Styles().Bits()));
                        reg->OpenNode(node + L"\\Tree", true);
                        reg->WriteInteger(L"Width", frame->Width());
                        reg->WriteInteger(L"Height", frame->Height());
                        reg->WriteBool(L"Collapsed", frame->Collapsed());
                    }
                    // A frame whose restore has not started reads what it is to restore
                    // from the file on disk, which this save replaces only at its end.
                    nav::TNavFrame::TTreeState tree;
                    if (trees)
                        tree = frame->TreeState();
                    shellctrls::TNamespaceTreeRoots& roots = frame->NameSpaceTree().Roots();
                    for (int j = 0; j < roots.Count(); ++j) {
                        std::wstring rootNode = node + L"\\Tree\\Roots\\No." + std::to_wstring(j);
                        reg->OpenNode(rootNode, true);
                        if (frames) {
                            reg->WriteString(L"Path", roots[j].Path());
                            reg->WriteInteger(L"Filters", roots[j].Filters().Bits());
                        }
                        if (trees) {
                            const std::vector<std::wstring>& expands = tree.expands[static_cast<size_t>(j)];
                            if (expands.empty())
                                reg->DeleteValue(L"Expands");
                            else
                                reg->WriteString(L"Expands", shell::EncodeDelimitedText(expands, L','));
                            if (j == tree.selectedRoot)
                                reg->WriteString(L"Selected", tree.selected);
                            else
                                reg->DeleteValue(L"Selected");
                        }
                    }
                }
            }
        }
        // Written here, where a failure reaches the caller: the holder's end cannot raise.
        reg->Flush();
    }
    FModifies = {};
    FDataFileBroken = false;
}

void TMainForm::SaveOnOptionsOK(TChangeParts skipped) {
    FModifies = AllChangeParts;
    TChangeParts parts = AllChangeParts;
    for (TChangePart part : {cpForm, cpFrame, cpTree})
        if (skipped.Contains(part))
            parts.Exclude(part);
    SaveSettings(parts);
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
