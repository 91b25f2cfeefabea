#ifndef KORVU_PROPERTYFILE_H
#define KORVU_PROPERTYFILE_H

#include <string>
#include <vector>

#include "KorvuCommonApi.h"
#include "Path.h"

namespace Korvu {

// A settings file of KEY=VALUE lines. The key is all text before the first
// '=' of a line, taken exactly (no trimming); the value is the rest of the
// line without its line end. Lines that are no assignment (comments, blank
// lines) are kept and written back in their place. Every line is written
// back ended by a line feed. Not thread-safe: one object per user. Throws
// only std::bad_alloc.
class KORVU_COMMON_API PropertyFile {
public:
    enum Mode {
        READ = 1,       // the file must exist and be readable
        WRITE = 2,      // start empty, the old content is replaced on save
        READ_WRITE = 3  // start from the file's content, if there is a file
    };

    explicit PropertyFile(const File::Path& path);
    // Closes without saving.
    ~PropertyFile();

    // False (and the object stays closed) for an unknown mode, or when the
    // mode needs the old content and the file exists but cannot be read, or
    // READ on a missing file. Reopening discards unsaved changes.
    bool open(int mode);
    bool isOpen() const;

    // The value of the first line of the key, changes included; empty when
    // there is none or the file is not open.
    std::string getValue(const std::string& key) const;
    std::wstring getValue(const std::wstring& key) const;
    bool hasKey(const std::string& key) const;

    // Replaces every line of the key by KEY=VALUE, or appends one line when
    // there is none. False when not open for writing, or for a key that is
    // empty or holds '=' or a line break, or a value with a line break.
    bool setValue(const std::string& key, const std::string& value);
    bool setValue(const std::wstring& key, const std::wstring& value);

    // Writes all lines with File::writeAtomically. False when not open for
    // writing or the write failed; the changes are kept for another try.
    bool save();
    // Saves pending changes when open for writing, then closes. False when
    // that save failed (the object is closed all the same).
    bool close();

    const File::Path& getPath() const;

private:
    File::Path path;
    int mode;
    bool modified;
    std::vector<std::string> lines;

    std::size_t findKey(const std::string& key, std::size_t from) const;
};

} // namespace Korvu

#endif
