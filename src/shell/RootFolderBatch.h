#pragma once
// Known folders' ID lists resolved once for a batch of IDListToRoot calls.
//
// Without a batch every IDListToRoot call resolves up to 122 known folders afresh,
// which costs milliseconds (far more under Wine). While a TRootFolderBatch exists on
// the thread, every call shares one set of lists, each resolved at most once, on
// first need. Open a batch around a burst of conversions between which the known
// folders cannot move (loading the settings, a drop of several items, handling one
// change notification for every root); each call then gives what it would give alone.
#include <array>
#include <optional>

#include "shell/RootFolder.h"
#include "shell/ShellHandles.h"

namespace shell {

// The known folders' ID lists, each resolved on first request and then kept.
class RootFolderIDLists {
public:
    // The folder's ID list on this system; nil when the system does not have it.
    PCIDLIST_ABSOLUTE Get(TRootFolder folder);

private:
    std::array<std::optional<unique_pidl>, kRootFolderCount> lists_;
};

class TRootFolderBatch {
public:
    TRootFolderBatch();
    ~TRootFolderBatch();
    TRootFolderBatch(const TRootFolderBatch&) = delete;
    TRootFolderBatch& operator=(const TRootFolderBatch&) = delete;
};

// The lists of the batch that is open on this thread; nil when none is.
RootFolderIDLists* CurrentRootFolderBatch() noexcept;

} // namespace shell
