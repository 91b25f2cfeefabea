#ifndef KORVU_IPIF_IFCFGFILE_H
#define KORVU_IPIF_IFCFGFILE_H

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace Korvu {
namespace IPInterfaceProvider {

// Text of an ifcfg file as lines of KEY=VALUE. Only the lines of the keys
// that are set are ever changed; every other byte survives a parse and
// render unchanged. Nothing here throws except std::bad_alloc.
class IfcfgFile {
public:
    enum Result {
        RESULT_OK = 0,
        RESULT_BAD_VALUE,  // key or value would break the line structure
        RESULT_NO_FOLDER,  // the folder of the path cannot be opened or locked
        RESULT_FAILED,     // reading, writing or renaming failed; the file is unchanged
        RESULT_LINK        // a symbolic link stands in place of the file; never followed
    };

    IfcfgFile();

    static IfcfgFile parse(const std::string& text);
    std::string render() const;

    // Text after "KEY=" on the first line that begins with it, without the
    // line end; false when no line does.
    bool getValue(const std::string& key, std::string& value) const;
    // Replaces every line that begins with "KEY=" by "KEY=VALUE\n", or
    // appends that line when none does. False, and nothing changed, when the
    // key or the value is not usable.
    bool setValue(const std::string& key, const std::string& value);

    // A key is a non-empty run without '=', line breaks or NUL; a value has
    // no line break and no NUL.
    static bool isUsableKey(const std::string& key);
    static bool isUsableValue(const std::string& value);

    // Reads the whole file into file. A missing file gives true with exists
    // false and no lines; false when the file exists but cannot be read (or
    // is not a regular file). A symbolic link in place of the file is never
    // followed: false, with isLink set when given. The first use of a folder
    // in a process removes the temporary files that a rewrite left behind
    // when its process died.
    static bool load(const std::string& path, IfcfgFile& file, bool& exists, bool* isLink = nullptr);
    // Names of the ifcfg- files in the folder (none when it does not
    // exist), so that a reader of many interfaces opens only files that
    // are there. False when the folder cannot be listed. Counts as the
    // folder's first use, as load does.
    static bool listFolder(const std::string& folder, std::set<std::string>& names);

    // Sets the values in the file at path, creating it when missing: under
    // an exclusive lock on the file's folder, reads the file, applies the
    // values in order, writes a temporary file in the same folder and
    // renames it over the old one, so that a reader or a crash sees the old
    // or the new file, never a mix of both. The file keeps its owner, group
    // and mode (RESULT_FAILED when the owner cannot be kept). Temporary
    // files that a rewrite left behind in the folder are removed first.
    static Result update(const std::string& path,
                         const std::vector<std::pair<std::string, std::string>>& values);

private:
    // Each line keeps its own '\n'; only the last may lack one.
    std::vector<std::string> lines;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
