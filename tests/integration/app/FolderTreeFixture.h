#pragma once
// The settings fixture over a folder tree of the test's own, with the real Shell: items
// by their relative paths, expanded and selected as the user would, and their item
// paths as the data file keeps them.
#include "SettingsFixture.h"

#include "shell/ItemPath.h"
#include "shell/ShellItems.h"

#include <shobjidl.h>
#include <wrl/client.h>

namespace settings_test {

class FolderTreeFixture : public SettingsFixture {
public:
    void SetUp() override {
        SettingsFixture::SetUp();
        for (const wchar_t* path :
             {L"Root\\A\\A1", L"Root\\B\\B1", L"Root\\a b\\x", L"Root\\c,d\\y", L"Other\\X\\X1"})
            testing_support::MakeFolder(folder / path);
        testing_support::MakeFile(folder / L"Root\\A\\f.txt");
    }
    Microsoft::WRL::ComPtr<IShellItem> Item(const std::wstring& relative) {
        Microsoft::WRL::ComPtr<IShellItem> item;
        SHCreateItemFromParsingName((folder / relative).c_str(), nullptr, IID_PPV_ARGS(&item));
        return item;
    }
    std::wstring PathOf(const std::wstring& relative) { return shell::GetItemPath(Item(relative).Get()); }
    nav::TNavFrame& Frame(size_t position = 0) { return *form->OrderedFrames().at(position); }
    bool Expanded(const std::wstring& relative, size_t frame = 0) {
        NSTCITEMSTATE state = 0;
        return SUCCEEDED(Frame(frame).NameSpaceTree().GetItemState(Item(relative).Get(), NSTCIS_EXPANDED,
                                                                   &state)) &&
               (state & NSTCIS_EXPANDED) != 0;
    }
    // As the user does it: the tree reports the change as it would for a click.
    void Expand(const std::wstring& relative, size_t frame = 0) {
        Frame(frame).NameSpaceTree().SetItemState(Item(relative).Get(), NSTCIS_EXPANDED, NSTCIS_EXPANDED);
        testing_support::PumpUntilIdle(200);
    }
    void Select(const std::wstring& relative, size_t frame = 0) {
        Frame(frame).NameSpaceTree().SetItemState(Item(relative).Get(), NSTCIS_SELECTED, NSTCIS_SELECTED);
        testing_support::PumpUntilIdle(200);
    }
    std::wstring SelectedName(size_t frame = 0) {
        Microsoft::WRL::ComPtr<IShellItem> selected = Frame(frame).Selected();
        return selected ? shell::GetItemName(selected.Get(), SIGDN_FILESYSPATH) : L"<none>";
    }
};

} // namespace settings_test
