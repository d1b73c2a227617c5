#pragma once
// The options dialog as the program entry knows it. The options module makes it; the
// edge window itself only raises OnOptionsRequested, so app never depends on options.
#include <memory>

namespace app {

class TMainForm;

class IOptionsDialog {
public:
    virtual ~IOptionsDialog() = default;
    // Shows the dialog modally; after OK the configuration is saved. Answers the
    // modal result.
    virtual int Execute() = 0;
};

// The program's one options dialog for its main window (defined by the options module,
// which the program links).
std::unique_ptr<IOptionsDialog> CreateOptionsDialog(TMainForm& mainForm);

} // namespace app
