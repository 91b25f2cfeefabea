#ifndef KORVU_FILE_H
#define KORVU_FILE_H

#include <string>

#include "KorvuCommonApi.h"
#include "Path.h"

namespace Korvu {

// File system helpers as free functions of namespace Korvu::File, next to
// the value type File::Path. None throws except std::bad_alloc.
namespace File {

// True when the path names an existing entry of any kind; symbolic links
// are followed. Wide text is taken as code points and converted to UTF-8.
KORVU_COMMON_API bool exists(const Path& path);
KORVU_COMMON_API bool exists(const std::string& path);
KORVU_COMMON_API bool exists(const std::wstring& path);

// The whole content of a regular file. False (content emptied) when the
// file is missing, is no regular file, or cannot be read. Never blocks on
// a FIFO put in place of the file.
KORVU_COMMON_API bool read(const Path& path, std::string& content);

// Replaces the file by one holding exactly the content: a temporary file in
// the same folder is written, flushed to disk and renamed over the path, so
// a reader sees the old or the new content, never a mix. An existing file's
// permission bits are kept (0644 for a new one). False on any failure; the
// old file is then untouched and no temporary file is left behind. An
// existing file's owner and group are kept too; when they cannot be, the
// write fails.
KORVU_COMMON_API bool writeAtomically(const Path& path, const std::string& content);

// Removes the temporary files that writeAtomically of path left behind when
// its process died (".NAME.tmp-XXXXXX" beside the file). Only safe while
// the caller holds whatever keeps other writers of the file out.
KORVU_COMMON_API void removeStaleTemporaries(const Path& path);

// True for a name that mkstemp made from prefix ("PREFIX" and six letters
// or digits).
KORVU_COMMON_API bool isTemporaryName(const std::string& name, const std::string& prefix);

} // namespace File
} // namespace Korvu

#endif
