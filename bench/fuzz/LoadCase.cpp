#include "fuzz/LoadCase.h"

#include "app/DataFile.h"
#include "app/MainForm.h"
#include "gui/Application.h"
#include "gui/Error.h"
#include "support/Pump.h"
#include "support/TestFiles.h"

#include <windows.h>

#include <memory>

namespace fuzz {
namespace {

// Bounded: a restore that has not finished by then is reported, not waited for.
constexpr DWORD kSettleMs = 20000;

bool Restored(app::TMainForm& form) {
    for (nav::TNavFrame* frame : form.OrderedFrames())
        if (frame->RestoreState() != nav::TNavFrame::TRestoreState::None)
            return false;
    return true;
}

std::wstring FolderOf(const std::wstring& file) {
    return file.substr(0, file.find_last_of(L'\\'));
}

std::string Narrow(const std::wstring& text) {
    return testing_support::Utf8(text.substr(0, 200));
}

class Run {
public:
    Run(const std::wstring& dataFile, const std::string& bytes) : file_(dataFile), bytes_(bytes) {
        gui::Application::Instance().SetReporter(
            [this](const std::wstring& text) { reported_.push_back(text); });
    }

    ~Run() {
        // Whatever the case left (after a failure too) goes, so the next starts alike.
        form_.reset();
        testing_support::PumpUntilIdle(200);
        gui::Application::Instance().SetReporter(nullptr);
        for (const std::wstring& name : testing_support::EntriesOf(FolderOf(file_)))
            ::DeleteFileW((FolderOf(file_) + L"\\" + name).c_str());
    }

    CaseOutcome Go() {
        testing_support::WriteBytes(file_, bytes_);

        // Loaded, then ended as the program ends (which saves what Maintains names).
        Start("load");
        if (form_) {
            outcome_.frames = form_->OrderedFrames().size();
            Check(Unchanged(), "load: the file changed without a save");
        }
        bool loadReported = !reported_.empty();
        if (loadReported)
            outcome_.message = reported_[0];
        Stop();
        Check(reported_.size() <= 1, "load and exit: more than one message");
        if (loadReported && !Unchanged())
            CheckKeptBeside("exit");

        // Loaded again and saved as the options dialog saves: everything.
        Start("save");
        if (form_) {
            reported_.clear();
            form_->SetModifies(app::AllChangeParts);
            form_->SaveSettings(app::AllChangeParts);
            Check(reported_.empty(), "save: reported " + Narrow(reported_.empty() ? L"" : reported_[0]));
        }
        Stop();
        if (loadReported)
            CheckKeptBeside("save");
        else
            Check(!testing_support::FileExists(app::BrokenFileName(file_)),
                  "save: a file was kept beside after a clean load");

        // What was saved loads cleanly.
        reported_.clear();
        Start("reload");
        Check(reported_.empty(),
              "reload of the saved file: reported " + Narrow(reported_.empty() ? L"" : reported_[0]));
        Stop();

        for (const std::wstring& name : testing_support::EntriesOf(FolderOf(file_))) {
            bool ours = name == L"Kestrav.xml" || name.rfind(L"Kestrav.xml.broken", 0) == 0;
            Check(ours, "a stray file is left: " + Narrow(name));
        }
        return outcome_;
    }

private:
    void Check(bool holds, const std::string& failure) {
        if (!holds)
            outcome_.failures.push_back(failure);
    }
    bool Unchanged() {
        return testing_support::FileExists(file_) && testing_support::ReadBytes(file_) == bytes_;
    }
    // The first load's bytes are kept beside under .broken (or .broken.N when older
    // copies were there; a case starts without any).
    void CheckKeptBeside(const char* phase) {
        std::wstring kept = app::BrokenFileName(file_);
        Check(testing_support::FileExists(kept) && testing_support::ReadBytes(kept) == bytes_,
              std::string(phase) + ": the unreadable file was not kept beside as it was");
    }
    void Start(const char* phase) {
        size_t before = reported_.size();
        try {
            form_ = std::make_unique<app::TMainForm>();
        } catch (...) {
            Check(false, std::string(phase) + ": the window was not made");
            return;
        }
        bool settled = true;
        try {
            settled = testing_support::PumpUntil([this] { return Restored(*form_); }, kSettleMs);
            testing_support::PumpUntilIdle(200);
        } catch (...) {
            Check(false, std::string(phase) + ": an exception reached the message loop: " +
                             Narrow(gui::CurrentExceptionMessage()));
        }
        Check(settled, std::string(phase) + ": restoring did not end within its time");
        Check(::IsWindow(form_->Handle()) != FALSE, std::string(phase) + ": no window");
        Check(!form_->OrderedFrames().empty(), std::string(phase) + ": no frame");
        Check(reported_.size() - before <= 1, std::string(phase) + ": more than one message");
        for (size_t i = before; i < reported_.size(); ++i)
            Check(!reported_[i].empty(), std::string(phase) + ": an empty message");
    }
    void Stop() {
        form_.reset();
        testing_support::PumpUntilIdle(200);
    }

    std::wstring file_;
    const std::string& bytes_;
    std::unique_ptr<app::TMainForm> form_;
    std::vector<std::wstring> reported_;
    CaseOutcome outcome_;
};

} // namespace

CaseOutcome LoadCase(const std::wstring& dataFile, const std::string& bytes) {
    return Run(dataFile, bytes).Go();
}

} // namespace fuzz
