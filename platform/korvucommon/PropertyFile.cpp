#include "PropertyFile.h"

#include "File.h"
#include "StringConversion.h"

namespace Korvu {

namespace {

const std::size_t none = std::string::npos;

bool isStorableKey(const std::string& key)
{
    return !key.empty() && key.find_first_of("=\r\n") == std::string::npos;
}

bool isStorableValue(const std::string& value)
{
    return value.find_first_of("\r\n") == std::string::npos;
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace

PropertyFile::PropertyFile(const File::Path& path) : path(path), mode(0), modified(false) {}

PropertyFile::~PropertyFile() {}

bool PropertyFile::open(int newMode)
{
    mode = 0;
    modified = false;
    lines.clear();
    if (newMode != READ && newMode != WRITE && newMode != READ_WRITE)
        return false;
    if (newMode & READ) {
        std::string text;
        if (!File::read(path, text)) {
            // A missing file is an empty one for READ_WRITE; an unreadable
            // one must not be replaced by a file lacking its other lines.
            if (newMode == READ || File::exists(path))
                return false;
        }
        lines = splitLines(text);
    }
    mode = newMode;
    return true;
}

bool PropertyFile::isOpen() const { return mode != 0; }

std::size_t PropertyFile::findKey(const std::string& key, std::size_t from) const
{
    for (std::size_t i = from; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.size() > key.size() && line[key.size()] == '=' &&
            line.compare(0, key.size(), key) == 0)
            return i;
    }
    return none;
}

std::string PropertyFile::getValue(const std::string& key) const
{
    if (mode == 0 || !isStorableKey(key))
        return std::string();
    std::size_t index = findKey(key, 0);
    if (index == none)
        return std::string();
    std::string value = lines[index].substr(key.size() + 1);
    // Files edited elsewhere may have CRLF line ends.
    if (!value.empty() && value.back() == '\r')
        value.pop_back();
    return value;
}

std::wstring PropertyFile::getValue(const std::wstring& key) const
{
    return make_wstring(getValue(make_string(key)));
}

bool PropertyFile::hasKey(const std::string& key) const
{
    return mode != 0 && isStorableKey(key) && findKey(key, 0) != none;
}

bool PropertyFile::setValue(const std::string& key, const std::string& value)
{
    if (!(mode & WRITE) || !isStorableKey(key) || !isStorableValue(value))
        return false;
    std::string line = key + "=" + value;
    bool replaced = false;
    for (std::size_t i = findKey(key, 0); i != none; i = findKey(key, i + 1)) {
        lines[i] = line;
        replaced = true;
    }
    if (!replaced)
        lines.push_back(line);
    modified = true;
    return true;
}

bool PropertyFile::setValue(const std::wstring& key, const std::wstring& value)
{
    return setValue(make_string(key), make_string(value));
}

bool PropertyFile::save()
{
    if (!(mode & WRITE))
        return false;
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    if (!File::writeAtomically(path, text))
        return false;
    modified = false;
    return true;
}

bool PropertyFile::close()
{
    bool ok = true;
    if ((mode & WRITE) && modified)
        ok = save();
    mode = 0;
    modified = false;
    lines.clear();
    return ok;
}

const File::Path& PropertyFile::getPath() const { return path; }

} // namespace Korvu
