#include <gtest/gtest.h>

#include <memory>

#include <unistd.h>

#include "platform/folderlock.h"
#include "support/tempfolder.h"

namespace {

TEST(FolderLock, ASecondLockOnTheFolderIsRefusedAndNamesTheHolderUntilTheFirstGoes)
{
    TempFolder folder(TempFolder::Use::Plain);
    auto first = std::make_unique<TFolderLock>(folder.Path());
    ASSERT_EQ(first->Result(), TFolderLock::TResult::Taken) << first->Problem();

    TFolderLock second(folder.Path());
    EXPECT_EQ(second.Result(), TFolderLock::TResult::Held);
    EXPECT_EQ(second.Holder(), ::getpid());

    first.reset();
    TFolderLock third(folder.Path());
    EXPECT_EQ(third.Result(), TFolderLock::TResult::Taken);
}

TEST(FolderLock, AFolderWhereNoLockFileCanBeMadeFailsWithTheReason)
{
    TempFolder folder(TempFolder::Use::Plain);
    folder.Write("plain", "a file, not a folder");
    TFolderLock lock(folder / "plain");
    EXPECT_EQ(lock.Result(), TFolderLock::TResult::Failed);
    EXPECT_NE(lock.Problem().find(folder / "plain/vorlan.lock"), std::string::npos) << lock.Problem();
}

}  // namespace
