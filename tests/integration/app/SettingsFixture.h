#pragma once
// A main window over a data file of the test's own, prepared value by value, with the
// errors it reports collected instead of shown.
#include "app/DataFile.h"
#include "app/MainForm.h"
#include "appdata/XMLRegFile.h"
#include "gui/Application.h"
#include "support/Pump.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace settings_test {

// The start and end of a data file written by hand, around its nodes.
inline const std::string kDataFileHead = "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<Kestrav>\r\n";
inline const std::string kDataFileTail = "</Kestrav>\r\n";

// One value of a data file: node path, value name, text.
struct Entry {
    std::wstring node;
    std::wstring name;
    std::wstring text;
};

class SettingsFixture : public ::testing::Test {
public:
    void SetUp() override {
        previousFile_ = app::DataFileName();
        dataFile = folder.File(L"Kestrav.xml");
        app::SetDataFileName(dataFile);
        gui::Application::Instance().SetReporter(
            [this](const std::wstring& text) { reported.push_back(text); });
    }
    void TearDown() override {
        form.reset();
        testing_support::PumpUntilIdle(200);
        gui::Application::Instance().SetReporter(nullptr);
        app::SetDataFileName(previousFile_);
    }

    // Writes the entries, in order, into the data file.
    void Prepare(const std::vector<Entry>& entries) {
        appdata::TXMLRegFile reg(dataFile);
        for (const Entry& e : entries) {
            ASSERT_TRUE(reg.OpenNode(e.node, true)) << testing_support::Utf8(e.node);
            reg.WriteString(e.name, e.text);
        }
    }
    // The window over the file, once its start-up restores have finished.
    void Start() {
        form = std::make_unique<app::TMainForm>();
        WaitForRestores();
    }
    void WaitForRestores() {
        testing_support::PumpUntil(
            [this] {
                for (nav::TNavFrame* frame : form->OrderedFrames())
                    if (frame->RestoreState() != nav::TNavFrame::TRestoreState::None)
                        return false;
                return true;
            },
            20000);
        testing_support::PumpUntilIdle(200);
    }
    // Saves as the options dialog's OK does: every part counts as changed, and the
    // configuration with every snapshot part not skipped (keep mode "保存しない") is written.
    void SaveAsOptionsOK(app::TChangeParts skipped = {}) {
        app::TChangeParts parts = app::AllChangeParts;
        for (app::TChangePart part : {app::cpForm, app::cpFrame, app::cpTree})
            if (skipped.Contains(part))
                parts.Exclude(part);
        form->SetModifies(app::AllChangeParts);
        form->SaveSettings(parts);
    }
    // Ends the window as the program's end does (saving what Maintains keeps).
    void Stop() {
        form.reset();
        testing_support::PumpUntilIdle(200);
    }
    // The text of a value in the file now; nothing when it (or the file) is not there.
    std::optional<std::wstring> Value(const std::wstring& node, const std::wstring& name) {
        if (!testing_support::FileExists(dataFile))
            return std::nullopt;
        appdata::TXMLRegFile reg(dataFile);
        if (!reg.OpenNode(node, false) || !reg.ValueExists(name))
            return std::nullopt;
        return reg.ReadString(name);
    }
    std::vector<std::wstring> NodeNames(const std::wstring& node) {
        std::vector<std::wstring> names;
        appdata::TXMLRegFile reg(dataFile);
        if (reg.OpenNode(node, false))
            reg.GetNodeNames(names);
        return names;
    }
    std::vector<int> FrameIds() {
        std::vector<int> ids;
        for (nav::TNavFrame* frame : form->OrderedFrames())
            ids.push_back(frame->ID());
        return ids;
    }

    testing_support::TempFolder folder;
    std::wstring dataFile;
    std::vector<std::wstring> reported;
    std::unique_ptr<app::TMainForm> form;

private:
    std::wstring previousFile_;
};

} // namespace settings_test
