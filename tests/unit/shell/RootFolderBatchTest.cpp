// The lifetime of a batch of known-folder lists and its one resolution per folder.
#include <gtest/gtest.h>

#include "shell/RootFolderBatch.h"

namespace {

TEST(RootFolderBatchTest, OutermostBatchOwnsTheLists) {
    EXPECT_EQ(shell::CurrentRootFolderBatch(), nullptr);
    {
        shell::TRootFolderBatch outer;
        shell::RootFolderIDLists* lists = shell::CurrentRootFolderBatch();
        ASSERT_NE(lists, nullptr);
        {
            shell::TRootFolderBatch inner;
            EXPECT_EQ(shell::CurrentRootFolderBatch(), lists);
        }
        EXPECT_EQ(shell::CurrentRootFolderBatch(), lists);
    }
    EXPECT_EQ(shell::CurrentRootFolderBatch(), nullptr);
}

TEST(RootFolderBatchTest, EachFolderIsResolvedOnce) {
    shell::RootFolderIDLists lists;
    PCIDLIST_ABSOLUTE desktop = lists.Get(shell::rfDesktop);
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(lists.Get(shell::rfDesktop), desktop); // the same list, not a new one
    EXPECT_EQ(desktop->mkid.cb, 0);                  // the desktop's list is the empty one
}

} // namespace
