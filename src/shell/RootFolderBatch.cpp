#include "shell/RootFolderBatch.h"

#include <memory>

#include "gui/Error.h"

namespace shell {
namespace {

// Batches nest; the outermost one owns the lists. The shell helpers run on the main
// thread only.
std::unique_ptr<RootFolderIDLists> batchLists;
int batchDepth = 0;

} // namespace

PCIDLIST_ABSOLUTE RootFolderIDLists::Get(TRootFolder folder) {
    CHECK(folder >= 0 && folder < kRootFolderCount);
    std::optional<unique_pidl>& list = lists_[folder];
    if (!list)
        list.emplace(RootFolderToIDList(folder));
    return list->get();
}

TRootFolderBatch::TRootFolderBatch() {
    if (batchDepth == 0)
        batchLists = std::make_unique<RootFolderIDLists>();
    ++batchDepth;
}

TRootFolderBatch::~TRootFolderBatch() {
    if (--batchDepth == 0)
        batchLists.reset();
}

RootFolderIDLists* CurrentRootFolderBatch() noexcept {
    return batchLists.get();
}

} // namespace shell
