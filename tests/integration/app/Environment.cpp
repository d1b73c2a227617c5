#include "support/ShellModuleEnvironment.h"
#include "support/TempFolder.h"

#include "app/DataFile.h"

#include <memory>

namespace {

// Every window of this program reads and writes a data file in a folder of its own,
// never the one of the user or of the program itself.
class DataFileEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        folder_ = std::make_unique<testing_support::TempFolder>();
        app::SetDataFileName(folder_->File(L"Kestrav.xml"));
    }
    void TearDown() override { folder_.reset(); }

private:
    std::unique_ptr<testing_support::TempFolder> folder_;
};

::testing::Environment* const kDataFileEnvironment =
    ::testing::AddGlobalTestEnvironment(new DataFileEnvironment);

} // namespace
