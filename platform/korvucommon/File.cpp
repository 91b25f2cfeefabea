#include "File.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "StringConversion.h"

namespace Korvu {
namespace File {

namespace {

bool writeAll(int fd, const std::string& content)
{
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

bool exists(const Path& path)
{
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

bool exists(const std::string& path) { return exists(Path(path)); }

bool exists(const std::wstring& path) { return exists(Path(path)); }

bool read(const Path& path, std::string& content)
{
    content.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat info;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    char chunk[16384];
    while (ok) {
        ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        content.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    if (!ok)
        content.clear();
    return ok;
}

bool writeAtomically(const Path& path, const std::string& content)
{
    std::string name = path.fileName();
    if (name.empty())
        return false;
    Path folder = path.parent();
    std::string pattern = (folder.empty() ? Path(".") : folder).toString();
    if (pattern.back() != '/')
        pattern += '/';
    pattern += "." + name + ".tmp-XXXXXX";

    mode_t mode = 0644;
    struct stat info;
    bool existed = ::stat(path.c_str(), &info) == 0;
    if (existed)
        mode = info.st_mode & 07777;

    int fd = ::mkostemp(&pattern[0], O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, content);
    struct stat made;
    if (ok && existed && ::fstat(fd, &made) == 0 &&
        (made.st_uid != info.st_uid || made.st_gid != info.st_gid))
        ok = ::fchown(fd, info.st_uid, info.st_gid) == 0;
    // After fchown, which may clear set-id bits.
    ok = ok && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    if (::close(fd) != 0)
        ok = false;
    if (!ok || ::rename(pattern.c_str(), path.c_str()) != 0) {
        ::unlink(pattern.c_str());
        return false;
    }
    // Makes the rename itself survive a crash; the new content is complete
    // either way, so a failure here is not reported.
    int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool isTemporaryName(const std::string& name, const std::string& prefix)
{
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

void removeStaleTemporaries(const Path& path)
{
    std::string name = path.fileName();
    if (name.empty())
        return;
    Path folder = path.parent();
    std::string folderText = (folder.empty() ? Path(".") : folder).toString();
    DIR* dir = ::opendir(folderText.c_str());
    if (!dir)
        return;
    const std::string prefix = "." + name + ".tmp-";
    while (dirent* entry = ::readdir(dir)) {
        if (isTemporaryName(entry->d_name, prefix))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

} // namespace File
} // namespace Korvu
