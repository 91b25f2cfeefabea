#include "File.h"

#include <cerrno>
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
    if (::stat(path.c_str(), &info) == 0)
        mode = info.st_mode & 07777;

    int fd = ::mkostemp(&pattern[0], O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, content) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
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

} // namespace File
} // namespace Korvu
