#ifndef KORVU_FILE_PATH_H
#define KORVU_FILE_PATH_H

#include <string>

#include "KorvuCommonApi.h"

namespace Korvu {
namespace File {

// A file system path held as UTF-8 text with '/' separators. It is a plain
// value: nothing is normalised except where two paths are joined. Nothing
// here throws except std::bad_alloc.
class KORVU_COMMON_API Path {
public:
    Path();
    // Implicit, so that text can stand wherever a path is expected.
    Path(const std::string& text);
    Path(const std::wstring& text);

    // Joins with exactly one separator: "/a/" / "/b" is "/a/b". An empty
    // side yields the other side unchanged.
    Path operator/(const Path& component) const;
    Path operator/(const std::string& component) const;
    Path& operator/=(const Path& component);
    // Appends text as it is, for names built from a folder that already
    // ends with a separator.
    Path operator+(const std::string& text) const;
    Path& operator+=(const std::string& text);

    const char* c_str() const;
    const std::string& toString() const;
    std::wstring toWString() const;

    // "/a/b" gives "/a", "/a" gives "/", "a" gives "", "/" gives "/".
    Path parent() const;
    // Last component: "/a/b" and "/a/b/" give "b", "/" gives "".
    std::string fileName() const;
    bool empty() const;
    bool isAbsolute() const;

    bool operator==(const Path& other) const;
    bool operator!=(const Path& other) const;

private:
    std::string text;
};

} // namespace File
} // namespace Korvu

#endif
