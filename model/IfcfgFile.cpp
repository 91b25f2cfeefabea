#include "IfcfgFile.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <mutex>
#include <set>

namespace Korvu {
namespace IPInterfaceProvider {

namespace {

bool beginsWithKey(const std::string& line, const std::string& key)
{
    return line.size() > key.size() && line.compare(0, key.size(), key) == 0 &&
           line[key.size()] == '=';
}

bool writeAll(int fd, const std::string& text)
{
    const char* data = text.data();
    std::size_t left = text.size();
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

// Holds an exclusive flock on a folder. flock locks belong to the open file
// description, so this serialises threads of one process as well as
// processes.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder)
        : fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (fd < 0)
            return;
        int rc;
        do {
            rc = ::flock(fd, LOCK_EX);
        } while (rc != 0 && errno == EINTR);
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
    int descriptor() const { return fd; }

private:
    int fd;
};

// ".ifcfg-NAME.XXXXXX", as update() names its temporary files.
bool isTemporaryName(const char* name)
{
    const std::string text = name;
    const std::string prefix = ".ifcfg-";
    if (text.size() < prefix.size() + 8 || text.compare(0, prefix.size(), prefix) != 0 ||
        text[text.size() - 7] != '.')
        return false;
    for (std::size_t i = text.size() - 6; i < text.size(); ++i) {
        char c = text[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

// Only while the folder lock is held: every rewrite makes and renames its
// temporary file under it, so any found then belongs to a dead process.
void removeStaleTemporaries(int folder)
{
    int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    while (dirent* entry = ::readdir(dir)) {
        if (isTemporaryName(entry->d_name))
            ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(dir);
}

std::string folderOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

// A folder read but never written in this process is still cleaned once;
// when a rewrite holds the lock, that rewrite cleans it.
void sweepOnFirstUse(const std::string& folder)
{
    static std::mutex guard;
    static std::set<std::string> swept;
    {
        std::lock_guard<std::mutex> hold(guard);
        if (!swept.insert(folder).second)
            return;
    }
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        removeStaleTemporaries(fd);
    ::close(fd);
}

// Opens the file for reading without following a symbolic link. -1 with
// errno ENOENT when missing, ELOOP for a link.
int openFile(const std::string& path, struct stat& info)
{
    // Non-blocking so that a FIFO in place of the file cannot hang a request.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

bool readAll(int fd, std::string& text)
{
    char chunk[4096];
    for (;;) {
        ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        text.append(chunk, static_cast<std::size_t>(got));
    }
}

} // namespace

IfcfgFile::IfcfgFile() {}

IfcfgFile IfcfgFile::parse(const std::string& text)
{
    IfcfgFile file;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::size_t next = end == std::string::npos ? text.size() : end + 1;
        file.lines.push_back(text.substr(start, next - start));
        start = next;
    }
    return file;
}

std::string IfcfgFile::render() const
{
    std::string text;
    for (const std::string& line : lines)
        text += line;
    return text;
}

bool IfcfgFile::getValue(const std::string& key, std::string& value) const
{
    if (!isUsableKey(key))
        return false;
    for (const std::string& line : lines) {
        if (!beginsWithKey(line, key))
            continue;
        std::string text = line.substr(key.size() + 1);
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        value = text;
        return true;
    }
    return false;
}

bool IfcfgFile::setValue(const std::string& key, const std::string& value)
{
    if (!isUsableKey(key) || !isUsableValue(value))
        return false;
    const std::string replacement = key + "=" + value + "\n";
    bool replaced = false;
    for (std::string& line : lines) {
        if (beginsWithKey(line, key)) {
            line = replacement;
            replaced = true;
        }
    }
    if (!replaced) {
        // A last line without its line feed would otherwise run into ours.
        if (!lines.empty() && !lines.back().empty() && lines.back().back() != '\n')
            lines.back() += '\n';
        lines.push_back(replacement);
    }
    return true;
}

bool IfcfgFile::isUsableKey(const std::string& key)
{
    return !key.empty() && key.find_first_of(std::string("=\n\r\0", 4)) == std::string::npos;
}

bool IfcfgFile::isUsableValue(const std::string& value)
{
    return value.find_first_of(std::string("\n\r\0", 3)) == std::string::npos;
}

bool IfcfgFile::load(const std::string& path, IfcfgFile& file, bool& exists, bool* isLink)
{
    exists = false;
    if (isLink)
        *isLink = false;
    file = IfcfgFile();
    sweepOnFirstUse(folderOf(path));
    struct stat info;
    int fd = openFile(path, info);
    if (fd < 0) {
        if (errno == ENOENT)
            return true;
        exists = true;
        if (isLink && errno == ELOOP)
            *isLink = true;
        return false;
    }
    exists = true;
    std::string text;
    bool ok = readAll(fd, text);
    ::close(fd);
    if (!ok)
        return false;
    file = parse(text);
    return true;
}

bool IfcfgFile::listFolder(const std::string& folder, std::set<std::string>& names)
{
    names.clear();
    sweepOnFirstUse(folder);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return errno == ENOENT;
    while (const struct dirent* entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, "ifcfg-", 6) == 0)
            names.insert(entry->d_name);
    }
    ::closedir(dir);
    return true;
}

IfcfgFile::Result IfcfgFile::update(const std::string& path,
                                    const std::vector<std::pair<std::string, std::string>>& values)
{
    for (const auto& entry : values) {
        if (!isUsableKey(entry.first) || !isUsableValue(entry.second))
            return RESULT_BAD_VALUE;
    }
    std::size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    std::string baseName = slash == std::string::npos ? path : path.substr(slash + 1);
    if (baseName.empty())
        return RESULT_BAD_VALUE;

    FolderLock lock(folder);
    if (!lock.held())
        return RESULT_NO_FOLDER;
    removeStaleTemporaries(lock.descriptor());

    IfcfgFile file;
    bool exists = true;
    struct stat info;
    int fd = openFile(path, info);
    if (fd < 0) {
        if (errno == ELOOP)
            return RESULT_LINK;
        // A file that exists but cannot be read is left alone rather than
        // replaced by one that lacks its other lines.
        if (errno != ENOENT)
            return RESULT_FAILED;
        exists = false;
    } else {
        std::string text;
        bool ok = readAll(fd, text);
        ::close(fd);
        if (!ok)
            return RESULT_FAILED;
        file = parse(text);
    }
    for (const auto& entry : values)
        file.setValue(entry.first, entry.second);

    const mode_t mode = exists ? (info.st_mode & 07777) : 0644;
    std::string temporary = (slash == std::string::npos ? std::string() : folder) + "." +
                            baseName + ".XXXXXX";
    fd = ::mkostemp(&temporary[0], O_CLOEXEC);
    if (fd < 0)
        return RESULT_FAILED;
    bool written = writeAll(fd, file.render());
    struct stat made;
    if (written && exists && ::fstat(fd, &made) == 0 &&
        (made.st_uid != info.st_uid || made.st_gid != info.st_gid))
        written = ::fchown(fd, info.st_uid, info.st_gid) == 0;
    // After fchown, which may clear set-id bits.
    written = written && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    if (::close(fd) != 0)
        written = false;
    if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return RESULT_FAILED;
    }
    // Makes the rename itself durable; the new file is complete either way.
    ::fsync(lock.descriptor());
    return RESULT_OK;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
