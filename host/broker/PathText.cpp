#include "PathText.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace cimhost {

namespace {

std::string quote(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

bool bare(const Value& v)
{
    switch (v.type) {
    case CMPI_boolean:
    case CMPI_uint8:
    case CMPI_uint16:
    case CMPI_uint32:
    case CMPI_uint64:
    case CMPI_sint8:
    case CMPI_sint16:
    case CMPI_sint32:
    case CMPI_sint64:
        return true;
    case CMPI_real32:
    case CMPI_real64:
        // Printed bare only when it reads back as a number.
        return std::isfinite(v.asReal());
    default:
        return false;
    }
}

bool nameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

const size_t maxText = 64 * 1024;
const int maxDepth = 8;

bool parseAt(const std::string& text, PathSpec& path, std::string* error, int depth);

bool fail(std::string* error, const std::string& why)
{
    if (error)
        *error = why;
    return false;
}

// A quoted value that reads as a namespace-qualified path with keys.
bool looksLikePath(const std::string& s)
{
    size_t colon = s.find(':');
    size_t dot = s.find('.', colon == std::string::npos ? 0 : colon);
    if (colon == std::string::npos || colon == 0 || dot == std::string::npos)
        return false;
    for (size_t i = (s.compare(0, 2, "//") == 0 ? s.find('/', 2) + 1 : 0); i < colon; ++i)
        if (!nameChar(s[i]) && s[i] != '/')
            return false;
    for (size_t i = colon + 1; i < dot; ++i)
        if (!nameChar(s[i]))
            return false;
    return dot > colon + 1 && s.find('=', dot) != std::string::npos;
}

// [-]digits.digits[e[+-]digits] or [-]digits e[+-]digits, short enough to
// hand to strtod without surprises (no hex, inf or nan).
bool isReal(const std::string& s)
{
    if (s.empty() || s.size() > 40)
        return false;
    size_t i = s[0] == '-' ? 1 : 0;
    size_t intDigits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i, ++intDigits;
    if (intDigits == 0)
        return false;
    bool fraction = false, exponent = false;
    if (i < s.size() && s[i] == '.') {
        ++i;
        size_t digits = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i, ++digits;
        if (digits == 0)
            return false;
        fraction = true;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        size_t digits = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i, ++digits;
        if (digits == 0)
            return false;
        exponent = true;
    }
    return i == s.size() && (fraction || exponent);
}

bool parseKeys(const std::string& text, size_t pos, PathSpec& path, std::string* error, int depth)
{
    while (pos < text.size()) {
        size_t start = pos;
        while (pos < text.size() && nameChar(text[pos]))
            ++pos;
        if (pos == start || pos >= text.size() || text[pos] != '=')
            return fail(error, "malformed key at offset " + std::to_string(start));
        std::string name = text.substr(start, pos - start);
        ++pos;
        Value value;
        if (pos < text.size() && text[pos] == '"') {
            std::string s;
            ++pos;
            bool closed = false;
            while (pos < text.size()) {
                char c = text[pos++];
                if (c == '\\') {
                    if (pos >= text.size())
                        break;
                    s += text[pos++];
                } else if (c == '"') {
                    closed = true;
                    break;
                } else {
                    s += c;
                }
            }
            if (!closed)
                return fail(error, "unterminated string for key " + name);
            PathSpec ref;
            if (looksLikePath(s) && parseAt(s, ref, nullptr, depth + 1))
                value = Value::reference(ref);
            else
                value = Value::string(s);
        } else {
            start = pos;
            while (pos < text.size() && text[pos] != ',')
                ++pos;
            std::string raw = text.substr(start, pos - start);
            if (raw == "true" || raw == "TRUE")
                value = Value::boolValue(true);
            else if (raw == "false" || raw == "FALSE")
                value = Value::boolValue(false);
            else if (isReal(raw)) {
                errno = 0;
                char* end = nullptr;
                double v = std::strtod(raw.c_str(), &end);
                if (errno == ERANGE || end != raw.c_str() + raw.size())
                    return fail(error, "bad real value for key " + name);
                value = Value::real64(v);
            } else {
                if (raw.empty() || raw.size() > 20)
                    return fail(error, "bad value for key " + name);
                bool negative = raw[0] == '-';
                for (size_t i = negative ? 1 : 0; i < raw.size(); ++i)
                    if (!std::isdigit(static_cast<unsigned char>(raw[i])))
                        return fail(error, "bad value for key " + name);
                if (negative && raw.size() == 1)
                    return fail(error, "bad value for key " + name);
                errno = 0;
                if (negative) {
                    long long v = std::strtoll(raw.c_str(), nullptr, 10);
                    if (errno == ERANGE)
                        return fail(error, "value out of range for key " + name);
                    value = Value::sint64(v);
                } else {
                    unsigned long long v = std::strtoull(raw.c_str(), nullptr, 10);
                    if (errno == ERANGE)
                        return fail(error, "value out of range for key " + name);
                    value = Value::uint64(v);
                }
            }
        }
        path.keys.emplace_back(name, value);
        if (pos < text.size()) {
            if (text[pos] != ',')
                return fail(error, "expected ',' after key " + name);
            ++pos;
            if (pos == text.size())
                return fail(error, "trailing ','");
        }
    }
    return true;
}

bool parseAt(const std::string& text, PathSpec& path, std::string* error, int depth)
{
    if (depth > maxDepth)
        return fail(error, "references nested too deeply");
    if (text.size() > maxText)
        return fail(error, "path text too long");
    path = PathSpec();
    size_t pos = 0;
    if (text.compare(0, 2, "//") == 0) {
        size_t slash = text.find('/', 2);
        if (slash == std::string::npos || slash == 2)
            return fail(error, "malformed host part");
        path.host = text.substr(2, slash - 2);
        pos = slash + 1;
    }
    size_t colon = text.find(':', pos);
    size_t dot = text.find('.', pos);
    if (colon != std::string::npos && (dot == std::string::npos || colon < dot)) {
        path.nameSpace = text.substr(pos, colon - pos);
        for (char c : path.nameSpace)
            if (!nameChar(c) && c != '/')
                return fail(error, "malformed namespace");
        pos = colon + 1;
    }
    size_t start = pos;
    while (pos < text.size() && nameChar(text[pos]))
        ++pos;
    if (pos == start)
        return fail(error, "missing class name");
    path.className = text.substr(start, pos - start);
    if (pos == text.size())
        return true;
    if (text[pos] != '.')
        return fail(error, "unexpected character after class name");
    if (pos + 1 == text.size())
        return fail(error, "missing keys after '.'");
    return parseKeys(text, pos + 1, path, error, depth);
}

} // namespace

std::string pathToText(const PathSpec& path)
{
    std::string out;
    if (!path.host.empty())
        out += "//" + path.host + "/";
    if (!path.nameSpace.empty())
        out += path.nameSpace + ":";
    out += path.className;
    for (size_t i = 0; i < path.keys.size(); ++i) {
        out += i == 0 ? '.' : ',';
        out += path.keys[i].first + "=";
        const Value& v = path.keys[i].second;
        out += bare(v) && !v.isNull() ? v.toText() : quote(v.toText());
    }
    return out;
}

std::string pathToText(const CMPIObjectPath* path) { return pathToText(toPathSpec(path)); }

bool parsePathText(const std::string& text, PathSpec& path, std::string* error)
{
    return parseAt(text, path, error, 0);
}

} // namespace cimhost
