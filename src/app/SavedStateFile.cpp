#include "app/SavedStateFile.h"

#include "app/FrameIds.h"
#include "app/GlobalHotkey.h"
#include "appdata/XMLCharacters.h"
#include "appdata/XMLRegFile.h"
#include "appdata/XMLRegFileErrors.h"
#include "appdata/XMLTextForms.h"
#include "gui/Error.h"
#include "shell/DelimitedText.h"

#include <unordered_set>
#include <variant>

namespace app {
namespace {

using appdata::TXMLRegFile;

// One value of a node: its name, the field that holds it, and its default when the
// file has none (a constant, or the value of a field read before it).
template <typename S> struct TKey {
    const wchar_t* node; // absolute for the settings, relative to the frame's or root's node
    const wchar_t* name;
    std::variant<int32_t S::*, bool S::*, std::wstring S::*> field;
    std::variant<int32_t, bool, const wchar_t*, int32_t S::*> fallback;
    // The parts whose save writes it (settings only; frames and roots go with cpFrame).
    TChangeParts parts = {};
};

// The nodes of the file: \Configuration and \Snapshot hold values; \Snapshot\Frames holds
// a node "Id." + id for each frame, which holds Tree, which holds Roots, which holds a
// node "No." + index for each root.
constexpr const wchar_t* kConfigurationNode = L"\\Configuration";
constexpr const wchar_t* kSnapshotNode = L"\\Snapshot";
constexpr const wchar_t* kFramesNode = L"Frames"; // below \Snapshot
constexpr const wchar_t* kOwnNode = L"";          // the frame's or root's own node
constexpr const wchar_t* kTreeNode = L"Tree";     // below a frame's node
constexpr const wchar_t* kRootsNode = L"Roots";   // below Tree
constexpr const wchar_t* kRootNodePrefix = L"No.";
constexpr const wchar_t* kFrameNodePrefix = L"Id.";

// Defaults that two keys share.
constexpr int32_t kTreeStyles =
    0x10061; // nstcsHasExpandos, nstcsHorizontalScroll, nstcsRootHasExpando, nstcsTabStop
constexpr int32_t kRootFilters = 6; // shcontfFolders, shcontfNonFolders

// Every key of the file and its default, in the order they are read and written. A new
// value of the configuration is one more line here (and its field in TSettings).
const TKey<TSettings> kSettingsKeys[] = {
    {kConfigurationNode, L"CollapseSize", &TSettings::collapseSize, 4, {cpConfig}},
    {kConfigurationNode, L"ExpandWidth", &TSettings::expandWidth, 300, {cpConfig}},
    {kConfigurationNode, L"ExpandHeight", &TSettings::expandHeight, 225, {cpConfig}},
    {kConfigurationNode, L"BaseColor", &TSettings::baseColor, -16777201, {cpConfig}}, // clBtnFace
    {kConfigurationNode, L"ColorShift", &TSettings::colorShift, true, {cpConfig}},
    {kConfigurationNode, L"AlphaBlendValue", &TSettings::alphaBlendValue, 64, {cpConfig}},
    {kConfigurationNode, L"DefaultStyles", &TSettings::defaultStyles, kTreeStyles, {cpConfig}},
    {kConfigurationNode, L"DefaultFilters", &TSettings::defaultFilters, kRootFilters, {cpConfig}},
    {kConfigurationNode, L"Maintains", &TSettings::maintains, 0, {cpConfig}},
    {kConfigurationNode, L"Hotkey", &TSettings::hotkey, static_cast<int32_t>(kDefaultHotkey), {cpConfig}},
    {kSnapshotNode, L"Left", &TSettings::left, 0, {cpForm}},
    {kSnapshotNode, L"Top", &TSettings::top, 0, {cpForm}},
    {kSnapshotNode, L"Width", &TSettings::width, &TSettings::expandWidth, {cpForm}},
    {kSnapshotNode, L"Height", &TSettings::height, &TSettings::expandHeight, {cpForm}},
    {kSnapshotNode, L"SnapEdge", &TSettings::snapEdge, 3, {cpForm}}, // alLeft
    {kSnapshotNode, L"Layout", &TSettings::layout, 1, {cpForm}},     // loCollapsed
    {kSnapshotNode, L"Topmost", &TSettings::topmost, false, {cpForm}},
    {kSnapshotNode, L"ActiveFrame", &TSettings::activeFrame, 0, {cpFrame, cpTree}},
};

const TKey<TFrameState> kFrameKeys[] = {
    {kOwnNode, L"ExpandWidth", &TFrameState::expandWidth, 300},
    {kOwnNode, L"ExpandHeight", &TFrameState::expandHeight, 225},
    {kOwnNode, L"Styles", &TFrameState::styles, kTreeStyles},
    {kTreeNode, L"Width", &TFrameState::width, &TFrameState::expandWidth},
    {kTreeNode, L"Height", &TFrameState::height, &TFrameState::expandHeight},
    {kTreeNode, L"Collapsed", &TFrameState::collapsed, false},
};

const TKey<TRootState> kRootKeys[] = {
    {kOwnNode, L"Path", &TRootState::path, L"rfDesktop"},
    {kOwnNode, L"Filters", &TRootState::filters, kRootFilters},
};

// The tree values of a root, which are lists rather than single values.
constexpr const wchar_t* kExpands = L"Expands";
constexpr const wchar_t* kSelected = L"Selected";
constexpr wchar_t kExpandsDelimiter = L',';

template <typename... F> struct Overloaded : F... { using F::operator()...; };
template <typename... F> Overloaded(F...) -> Overloaded<F...>;

template <typename S> void SetDefault(const TKey<S>& key, S& state) {
    std::visit(
        Overloaded{[&](int32_t S::*field) {
                       const auto* from = std::get_if<int32_t S::*>(&key.fallback);
                       state.*field = from != nullptr ? state.**from : std::get<int32_t>(key.fallback);
                   },
                   [&](bool S::*field) { state.*field = std::get<bool>(key.fallback); },
                   [&](std::wstring S::*field) { state.*field = std::get<const wchar_t*>(key.fallback); }},
        key.field);
}

// The key's value from the current node of file; raises for a text that does not parse
// (the field keeps its default then).
template <typename S> void ReadKey(const TXMLRegFile& file, const TKey<S>& key, S& state) {
    std::visit(
        Overloaded{[&](int32_t S::*field) { state.*field = file.ReadIntDef(key.name, state.*field); },
                   [&](bool S::*field) { state.*field = file.ReadBoolDef(key.name, state.*field); },
                   [&](std::wstring S::*field) { state.*field = file.ReadStrDef(key.name, state.*field); }},
        key.field);
}

template <typename S> void WriteKey(TXMLRegFile& file, const TKey<S>& key, const S& state) {
    std::visit(Overloaded{[&](int32_t S::*field) { file.WriteInteger(key.name, state.*field); },
                          [&](bool S::*field) { file.WriteBool(key.name, state.*field); },
                          [&](std::wstring S::*field) { file.WriteString(key.name, state.*field); }},
               key.field);
}

template <typename S, size_t N>
void WriteKeys(TXMLRegFile& file, const TKey<S> (&keys)[N], std::wstring_view node, const S& state) {
    for (const TKey<S>& key : keys)
        if (key.node == node)
            WriteKey(file, key, state);
}

template <typename S> void CopyKey(const TKey<S>& key, const S& from, S& to) {
    std::visit([&](auto field) { to.*field = from.*field; }, key.field);
}

template <typename S, size_t N> S Defaults(const TKey<S> (&keys)[N]) {
    S state{};
    for (const TKey<S>& key : keys)
        SetDefault(key, state);
    return state;
}

// Reading that goes on past a value that does not parse, keeping the first error.
class LenientReader {
public:
    LenientReader(TXMLRegFile& file, std::exception_ptr& firstError) : file_(file), firstError_(firstError) {}

    template <typename F> void Step(F&& step) {
        try {
            step();
        } catch (...) {
            Note();
        }
    }
    void Note() {
        if (!firstError_)
            firstError_ = std::current_exception();
    }
    // The keys of node (at the current node when it could be opened): each first at its
    // default, then as read.
    template <typename S, size_t N>
    void Keys(const TKey<S> (&keys)[N], std::wstring_view node, bool opened, S& state) {
        for (const TKey<S>& key : keys)
            if (key.node == node)
                Key(key, opened, state);
    }
    template <typename S> void Key(const TKey<S>& key, bool opened, S& state) {
        SetDefault(key, state);
        if (opened)
            Step([&] { ReadKey(file_, key, state); });
    }
    bool Open(const std::wstring& path) {
        bool opened = false;
        Step([&] { opened = file_.OpenNode(path, false); });
        return opened;
    }
    TXMLRegFile& File() { return file_; }

private:
    TXMLRegFile& file_;
    std::exception_ptr& firstError_;
};

TRootState ReadRoot(LenientReader& reader) {
    TRootState root = DefaultRootState();
    reader.Keys(kRootKeys, kOwnNode, true, root);
    TXMLRegFile& file = reader.File();
    reader.Step([&] {
        root.expands = shell::DecodeDelimitedText(file.ReadStrDef(kExpands, L""), kExpandsDelimiter);
    });
    reader.Step([&] {
        if (file.ValueExists(kSelected))
            root.selected = file.ReadString(kSelected);
    });
    return root;
}

void ReadFrame(LenientReader& reader, TFrameState& frame) {
    reader.Keys(kFrameKeys, kOwnNode, true, frame);
    bool tree = reader.Open(kTreeNode);
    reader.Keys(kFrameKeys, kTreeNode, tree, frame);
    if (tree && reader.Open(kRootsNode))
        reader.Step([&] {
            reader.File().ForEachSubNode(
                [&](const std::wstring&) { frame.roots.push_back(ReadRoot(reader)); });
        });
}

} // namespace

std::optional<int32_t> FrameIdOfNodeName(const std::wstring& name) {
    return appdata::TextToInteger(name.size() > 3 ? name.substr(3, 260) : std::wstring());
}

std::wstring FrameNodeName(int32_t id) {
    return kFrameNodePrefix + std::to_wstring(id);
}

TSavedState DefaultSavedState() {
    TSavedState state;
    state.settings = Defaults(kSettingsKeys);
    return state;
}

TFrameState DefaultFrameState(int32_t id) {
    TFrameState frame = Defaults(kFrameKeys);
    frame.id = id;
    return frame;
}

TRootState DefaultRootState() {
    return Defaults(kRootKeys);
}

TSavedState ReadSavedState(TXMLRegFile& file, std::exception_ptr& firstError) {
    LenientReader reader(file, firstError);
    TSavedState state;
    std::wstring node;
    bool opened = false;
    for (const TKey<TSettings>& key : kSettingsKeys) {
        if (key.node != node) {
            node = key.node;
            opened = reader.Open(node);
        }
        reader.Key(key, opened, state.settings);
    }

    if (!reader.Open(std::wstring(kSnapshotNode) + L"\\" + kFramesNode))
        return state;
    std::unordered_set<int32_t> ids;
    reader.Step([&] {
        file.ForEachSubNode([&](const std::wstring& name) {
            std::optional<int32_t> id = FrameIdOfNodeName(name);
            // A node that names no id, or one met before, is not a frame to make.
            if (!id) {
                std::wstring text = name.size() > 3 ? name.substr(3, 260) : std::wstring();
                reader.Step([&] {
                    throw appdata::EConvertError(appdata::FormatText(appdata::messages::kNotInteger, {text}));
                });
                return;
            }
            if (!ids.insert(*id).second) {
                reader.Step([&] { throw gui::UserError(FrameIdInUseText(*id)); });
                return;
            }
            TFrameState frame = DefaultFrameState(*id);
            ReadFrame(reader, frame);
            state.frames.push_back(std::move(frame));
        });
    });
    return state;
}

void WriteSavedState(TXMLRegFile& file, const TSavedState& state, TChangeParts parts,
                     std::vector<std::wstring>& leftOut) {
    std::wstring node;
    for (const TKey<TSettings>& key : kSettingsKeys) {
        if ((key.parts & parts).Empty())
            continue;
        if (key.node != node) {
            node = key.node;
            file.OpenNode(node, true);
        }
        WriteKey(file, key, state.settings);
    }
    if (!parts.Contains(cpFrame) && !parts.Contains(cpTree))
        return;

    file.OpenNode(kSnapshotNode, true);
    file.ClearNodes();
    if (state.frames.empty())
        return;
    file.AppendNode(kFramesNode);
    for (const TFrameState& frame : state.frames) {
        file.AppendNode(FrameNodeName(frame.id));
        WriteKeys(file, kFrameKeys, kOwnNode, frame);
        file.AppendNode(kTreeNode);
        WriteKeys(file, kFrameKeys, kTreeNode, frame);
        bool rootsOpen = false;
        int index = 0;
        for (const TRootState& root : frame.roots) {
            // A root node without its path would load as the desktop.
            if (!appdata::IsXmlText(root.path)) {
                leftOut.push_back(root.path);
                continue;
            }
            if (!rootsOpen)
                rootsOpen = file.AppendNode(kRootsNode);
            file.AppendNode(kRootNodePrefix + std::to_wstring(index++));
            WriteKeys(file, kRootKeys, kOwnNode, root);
            std::vector<std::wstring> expands;
            expands.reserve(root.expands.size());
            for (const std::wstring& path : root.expands) {
                if (appdata::IsXmlText(path))
                    expands.push_back(path);
                else
                    leftOut.push_back(path);
            }
            if (!expands.empty())
                file.WriteString(kExpands, shell::EncodeDelimitedText(expands, kExpandsDelimiter));
            if (root.selected) {
                if (appdata::IsXmlText(*root.selected))
                    file.WriteString(kSelected, *root.selected);
                else
                    leftOut.push_back(*root.selected);
            }
            file.CloseNodeOneLevel();
        }
        if (rootsOpen)
            file.CloseNodeOneLevel();
        file.CloseNodeOneLevel(); // Tree
        file.CloseNodeOneLevel(); // Id.n
    }
}

void CopySettings(const TSettings& from, TSettings& to, TChangeParts parts) {
    for (const TKey<TSettings>& key : kSettingsKeys)
        if (!(key.parts & parts).Empty())
            CopyKey(key, from, to);
}

} // namespace app
