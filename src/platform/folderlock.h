#pragma once

#include <string>

#include <sys/types.h>

// Keeps one program at a time on a program folder: an exclusive lock on the file
// "vorlan.lock" in it, held while the object lives. The system lets it go when the process
// ends, however it ends, and programs started meanwhile do not inherit it. The holder
// writes its process number into the file, so that a refused program can name it.
class TFolderLock {
public:
    enum class TResult { Taken, Held, Failed };

    explicit TFolderLock(const std::string& folder);
    ~TFolderLock();
    TFolderLock(const TFolderLock&) = delete;
    TFolderLock& operator=(const TFolderLock&) = delete;

    TResult Result() const { return result; }
    // Held: the process that holds the lock, 0 when it cannot be told.
    pid_t Holder() const { return holder; }
    // Failed: why the lock file could not be made or locked.
    const std::string& Problem() const { return problem; }

private:
    int fd = -1;
    TResult result = TResult::Failed;
    pid_t holder = 0;
    std::string problem;
};
