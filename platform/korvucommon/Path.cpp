#include "Path.h"

#include "StringConversion.h"

namespace Korvu {
namespace File {

namespace {

// Length of the text without its trailing separators; a lone "/" keeps one.
std::size_t trimmedLength(const std::string& text)
{
    std::size_t length = text.size();
    while (length > 1 && text[length - 1] == '/')
        --length;
    return length;
}

} // namespace

Path::Path() {}

Path::Path(const std::string& text) : text(text) {}

Path::Path(const std::wstring& text) : text(make_string(text)) {}

Path Path::operator/(const Path& component) const
{
    Path joined(*this);
    joined /= component;
    return joined;
}

Path Path::operator/(const std::string& component) const
{
    return *this / Path(component);
}

Path& Path::operator/=(const Path& component)
{
    if (component.text.empty())
        return *this;
    if (text.empty()) {
        text = component.text;
        return *this;
    }
    std::size_t keep = trimmedLength(text);
    if (keep == 1 && text[0] == '/')
        keep = 0;
    std::size_t skip = component.text.find_first_not_of('/');
    if (skip == std::string::npos) {
        text.resize(keep == 0 ? 1 : keep);
        return *this;
    }
    text.resize(keep);
    text += '/';
    text.append(component.text, skip, std::string::npos);
    return *this;
}

Path Path::operator+(const std::string& more) const
{
    return Path(text + more);
}

Path& Path::operator+=(const std::string& more)
{
    text += more;
    return *this;
}

const char* Path::c_str() const { return text.c_str(); }

const std::string& Path::toString() const { return text; }

std::wstring Path::toWString() const { return make_wstring(text); }

Path Path::parent() const
{
    std::size_t length = trimmedLength(text);
    std::size_t slash = text.rfind('/', length == 0 ? 0 : length - 1);
    if (slash == std::string::npos)
        return Path();
    if (length == 1 && text[0] == '/')
        return Path("/");
    std::string head = text.substr(0, slash);
    head.resize(trimmedLength(head));
    return Path(head.empty() ? std::string("/") : head);
}

std::string Path::fileName() const
{
    std::size_t length = trimmedLength(text);
    if (length == 1 && text[0] == '/')
        return std::string();
    std::size_t slash = text.rfind('/', length == 0 ? 0 : length - 1);
    std::size_t begin = slash == std::string::npos ? 0 : slash + 1;
    return text.substr(begin, length - begin);
}

bool Path::empty() const { return text.empty(); }

bool Path::isAbsolute() const { return !text.empty() && text[0] == '/'; }

bool Path::operator==(const Path& other) const { return text == other.text; }

bool Path::operator!=(const Path& other) const { return text != other.text; }

} // namespace File
} // namespace Korvu
