#ifndef KORVU_QUELLSTORE_FOLDERLOCK_H
#define KORVU_QUELLSTORE_FOLDERLOCK_H

// Internal to the library.

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <string>

#include "File.h"

namespace Korvu {
namespace StoreDetail {

// Holds an exclusive flock on the folder of a file (the store file, the
// live store's origin record), which keeps the writers of other processes
// out (and those of this one, but they are already serialised). Readers
// take no file lock: writers replace the file by rename, so a reader
// always opens a whole version.
class FolderLock {
public:
    explicit FolderLock(const std::string& file) : fd(-1)
    {
        File::Path folder = File::Path(file).parent();
        fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return;
        int rc;
        while ((rc = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (rc != 0) {
            ::close(fd);
            fd = -1;
        }
    }
    ~FolderLock()
    {
        if (fd >= 0)
            ::close(fd);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool held() const { return fd >= 0; }

private:
    int fd;
};

} // namespace StoreDetail
} // namespace Korvu

#endif
