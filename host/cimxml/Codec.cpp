#include "Codec.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cctype>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <strings.h>

namespace cimhost::cimxml {

namespace {

// Paths nest through reference keys; deeper input is refused rather than
// followed.
constexpr int maxDepth = 8;
// Far above what any class declares; bounds the work one request can ask.
constexpr size_t maxKeys = 64;
constexpr size_t maxProperties = 1024;

std::string lowered(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

struct TypeName {
    CMPIType type;
    const char* name;
};

const TypeName typeNames[] = {
    {CMPI_boolean, "boolean"}, {CMPI_char16, "char16"},     {CMPI_uint8, "uint8"},
    {CMPI_uint16, "uint16"},   {CMPI_uint32, "uint32"},     {CMPI_uint64, "uint64"},
    {CMPI_sint8, "sint8"},     {CMPI_sint16, "sint16"},     {CMPI_sint32, "sint32"},
    {CMPI_sint64, "sint64"},   {CMPI_real32, "real32"},     {CMPI_real64, "real64"},
    {CMPI_string, "string"},   {CMPI_dateTime, "datetime"}, {CMPI_ref, "reference"},
};

bool same(const char* a, const char* b) { return strcasecmp(a, b) == 0; }

std::string attr(const pugi::xml_node& node, const char* name) { return node.attribute(name).value(); }

// Text of an element made of text nodes only (CDATA included).
std::string textOf(const pugi::xml_node& node)
{
    std::string text;
    for (pugi::xml_node child : node.children())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += child.value();
    return text;
}

std::string trimmed(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return std::string();
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

bool readUnsigned(const std::string& text, unsigned long long max, unsigned long long& out)
{
    std::string t = trimmed(text);
    if (t.empty() || t.size() > 40)
        return false;
    size_t i = t[0] == '+' ? 1 : 0;
    if (i >= t.size())
        return false;
    int base = 10;
    if (t.size() > i + 2 && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    unsigned long long v = 0;
    for (; i < t.size(); ++i) {
        int d;
        char c = t[i];
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        if (v > (max - static_cast<unsigned long long>(d)) / static_cast<unsigned long long>(base))
            return false;
        v = v * static_cast<unsigned long long>(base) + static_cast<unsigned long long>(d);
    }
    out = v;
    return true;
}

bool readSigned(const std::string& text, long long max, long long& out)
{
    std::string t = trimmed(text);
    bool negative = !t.empty() && t[0] == '-';
    if (negative)
        t.erase(0, 1);
    if (t.empty() || t[0] == '+' || t[0] == '-')
        return false;
    unsigned long long limit = static_cast<unsigned long long>(max) + (negative ? 1 : 0);
    unsigned long long magnitude;
    if (!readUnsigned(t, limit, magnitude))
        return false;
    if (!negative)
        out = static_cast<long long>(magnitude);
    else
        out = magnitude == 0 ? 0 : -static_cast<long long>(magnitude - 1) - 1;
    return true;
}

bool readReal(const std::string& text, double& out)
{
    std::string t = trimmed(text);
    if (t.empty() || t.size() > 64)
        return false;
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(v) || errno == ERANGE)
        return false;
    out = v;
    return true;
}

// yyyymmddhhmmss.mmmmmmsutc or ddddddddhhmmss.mmmmmm:000, '*' allowed.
bool isDateTime(const std::string& t)
{
    if (t.size() != 25 || t[14] != '.')
        return false;
    for (size_t i = 0; i < 21; ++i)
        if (i != 14 && !(std::isdigit(static_cast<unsigned char>(t[i])) || t[i] == '*'))
            return false;
    if (t[21] != '+' && t[21] != '-' && t[21] != ':')
        return false;
    for (size_t i = 22; i < 25; ++i)
        if (!std::isdigit(static_cast<unsigned char>(t[i])) && t[i] != '*')
            return false;
    return true;
}

// Decodes one UTF-8 code point; false for malformed bytes.
bool nextCodePoint(const std::string& s, size_t& i, unsigned long& cp)
{
    unsigned char c = static_cast<unsigned char>(s[i]);
    int extra;
    if (c < 0x80) {
        cp = c;
        extra = 0;
    } else if ((c & 0xE0) == 0xC0) {
        cp = c & 0x1F;
        extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
        cp = c & 0x0F;
        extra = 2;
    } else if ((c & 0xF8) == 0xF0) {
        cp = c & 0x07;
        extra = 3;
    } else {
        ++i;
        return false;
    }
    if (i + static_cast<size_t>(extra) >= s.size() && extra > 0) {
        ++i;
        return false;
    }
    for (int k = 1; k <= extra; ++k) {
        unsigned char n = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
        if ((n & 0xC0) != 0x80) {
            ++i;
            return false;
        }
        cp = (cp << 6) | (n & 0x3F);
    }
    i += static_cast<size_t>(extra) + 1;
    return true;
}

} // namespace

std::string Codec::typeName(CMPIType type)
{
    CMPIType element = static_cast<CMPIType>(type & ~CMPI_ARRAY);
    if (element == CMPI_chars)
        element = CMPI_string;
    for (const TypeName& t : typeNames)
        if (t.type == element)
            return t.name;
    return std::string();
}

bool Codec::typeFromName(const std::string& name, CMPIType& type)
{
    for (const TypeName& t : typeNames)
        if (same(t.name, name.c_str())) {
            type = t.type;
            return true;
        }
    return false;
}

std::string Codec::escape(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 8);
    size_t i = 0;
    while (i < text.size()) {
        size_t start = i;
        unsigned long cp = 0;
        if (!nextCodePoint(text, i, cp)) {
            out += '?';
            continue;
        }
        switch (cp) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        case '\t': out += "&#9;"; break;
        case '\n': out += "&#10;"; break;
        case '\r': out += "&#13;"; break;
        default:
            if (cp < 0x20 || (cp >= 0xD800 && cp <= 0xDFFF) || cp == 0xFFFE || cp == 0xFFFF || cp > 0x10FFFF)
                out += '?';
            else
                out.append(text, start, i - start);
        }
    }
    return out;
}

void Codec::writeLocalNamespacePath(std::string& out, const std::string& nameSpace)
{
    out += "<LOCALNAMESPACEPATH>";
    size_t pos = 0;
    while (pos <= nameSpace.size()) {
        size_t slash = nameSpace.find('/', pos);
        if (slash == std::string::npos)
            slash = nameSpace.size();
        if (slash > pos)
            out += "<NAMESPACE NAME=\"" + escape(nameSpace.substr(pos, slash - pos)) + "\"/>";
        pos = slash + 1;
    }
    out += "</LOCALNAMESPACEPATH>";
}

void Codec::writeInstanceName(std::string& out, const PathSpec& path) { writeInstanceName(out, path, 0); }

void Codec::writeInstanceName(std::string& out, const PathSpec& path, int depth)
{
    out += "<INSTANCENAME CLASSNAME=\"" + escape(path.className) + "\">";
    for (const auto& [name, value] : path.keys) {
        out += "<KEYBINDING NAME=\"" + escape(name) + "\">";
        CMPIType t = static_cast<CMPIType>(value.type & ~CMPI_ARRAY);
        if (t == CMPI_ref && value.asReference()) {
            writeReference(out, *value.asReference(), depth + 1);
        } else {
            const char* kind = "string";
            if (t == CMPI_boolean)
                kind = "boolean";
            else if ((t & CMPI_INTEGER) || (t & CMPI_REAL))
                kind = "numeric";
            std::string type = typeName(t);
            out += std::string("<KEYVALUE VALUETYPE=\"") + kind + "\"";
            if (!type.empty() && t != CMPI_ref)
                out += " TYPE=\"" + type + "\"";
            out += ">" + escape(t == CMPI_boolean ? (value.asBool() ? "TRUE" : "FALSE") : value.toText())
                   + "</KEYVALUE>";
        }
        out += "</KEYBINDING>";
    }
    out += "</INSTANCENAME>";
}

void Codec::writeInstancePath(std::string& out, const PathSpec& path, const std::string& host)
{
    out += "<INSTANCEPATH><NAMESPACEPATH><HOST>" + escape(path.host.empty() ? host : path.host) + "</HOST>";
    writeLocalNamespacePath(out, path.nameSpace);
    out += "</NAMESPACEPATH>";
    writeInstanceName(out, path);
    out += "</INSTANCEPATH>";
}

void Codec::writeReference(std::string& out, const PathSpec& path) { writeReference(out, path, 0); }

void Codec::writeReference(std::string& out, const PathSpec& path, int depth)
{
    out += "<VALUE.REFERENCE>";
    if (depth > 2 * maxDepth) {
        // Only providers nest this deep; a bare name keeps the answer finite.
        out += "<INSTANCENAME CLASSNAME=\"" + escape(path.className) + "\"/>";
    } else if (!path.host.empty() && !path.nameSpace.empty()) {
        out += "<INSTANCEPATH><NAMESPACEPATH><HOST>" + escape(path.host) + "</HOST>";
        writeLocalNamespacePath(out, path.nameSpace);
        out += "</NAMESPACEPATH>";
        writeInstanceName(out, path, depth);
        out += "</INSTANCEPATH>";
    } else if (!path.nameSpace.empty()) {
        out += "<LOCALINSTANCEPATH>";
        writeLocalNamespacePath(out, path.nameSpace);
        writeInstanceName(out, path, depth);
        out += "</LOCALINSTANCEPATH>";
    } else {
        writeInstanceName(out, path, depth);
    }
    out += "</VALUE.REFERENCE>";
}

namespace {

std::string scalarText(const Value& v)
{
    CMPIType t = static_cast<CMPIType>(v.type & ~CMPI_ARRAY);
    if (t == CMPI_boolean)
        return v.asBool() ? "TRUE" : "FALSE";
    if (t == CMPI_char16) {
        // One code point as UTF-8.
        unsigned long cp = static_cast<unsigned long>(v.asUnsigned());
        std::string s;
        if (cp < 0x80) {
            s += static_cast<char>(cp);
        } else if (cp < 0x800) {
            s += static_cast<char>(0xC0 | (cp >> 6));
            s += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            s += static_cast<char>(0xE0 | ((cp >> 12) & 0x0F));
            s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (cp & 0x3F));
        }
        return s;
    }
    if (t == CMPI_real32 || t == CMPI_real64) {
        char buf[64];
        std::snprintf(buf, sizeof buf, t == CMPI_real32 ? "%.9g" : "%.17g", v.asReal());
        return buf;
    }
    return v.toText();
}

} // namespace

void Codec::writeValue(std::string& out, const Value& value)
{
    if (value.isNull())
        return;
    CMPIType t = static_cast<CMPIType>(value.type & ~CMPI_ARRAY);
    if (value.isArray()) {
        out += t == CMPI_ref ? "<VALUE.REFARRAY>" : "<VALUE.ARRAY>";
        for (const Value& e : value.elements()) {
            if (e.isNull())
                out += t == CMPI_ref ? "<VALUE.NULL/>" : "<VALUE.NULL/>";
            else if (t == CMPI_ref && e.asReference())
                writeReference(out, *e.asReference());
            else
                out += "<VALUE>" + escape(scalarText(e)) + "</VALUE>";
        }
        out += t == CMPI_ref ? "</VALUE.REFARRAY>" : "</VALUE.ARRAY>";
        return;
    }
    if (t == CMPI_ref) {
        if (value.asReference())
            writeReference(out, *value.asReference());
        return;
    }
    out += "<VALUE>" + escape(scalarText(value)) + "</VALUE>";
}

void Codec::writeProperty(std::string& out, const std::string& name, const Value& value)
{
    CMPIType t = static_cast<CMPIType>(value.type & ~CMPI_ARRAY);
    std::string type = typeName(t);
    if (type.empty())
        type = "string";
    if (t == CMPI_ref && !value.isArray()) {
        std::string refClass;
        if (value.asReference())
            refClass = value.asReference()->className;
        out += "<PROPERTY.REFERENCE NAME=\"" + escape(name) + "\"";
        if (!refClass.empty())
            out += " REFERENCECLASS=\"" + escape(refClass) + "\"";
        out += ">";
        writeValue(out, value);
        out += "</PROPERTY.REFERENCE>";
    } else if (value.isArray()) {
        out += "<PROPERTY.ARRAY NAME=\"" + escape(name) + "\" TYPE=\"" + type + "\">";
        writeValue(out, value);
        out += "</PROPERTY.ARRAY>";
    } else {
        out += "<PROPERTY NAME=\"" + escape(name) + "\" TYPE=\"" + type + "\">";
        writeValue(out, value);
        out += "</PROPERTY>";
    }
}

void Codec::writeInstance(std::string& out, const InstanceSpec& instance)
{
    out += "<INSTANCE CLASSNAME=\"" + escape(instance.path.className) + "\">";
    for (const auto& [name, value] : instance.properties)
        writeProperty(out, name, value);
    out += "</INSTANCE>";
}

namespace {

void writeQualifier(std::string& out, const char* name)
{
    out += std::string("<QUALIFIER NAME=\"") + name + "\" TYPE=\"boolean\"><VALUE>TRUE</VALUE></QUALIFIER>";
}

} // namespace

void Codec::writeClass(std::string& out, const ClassDecl& decl)
{
    out += "<CLASS NAME=\"" + escape(decl.name) + "\"";
    if (!decl.superClass.empty())
        out += " SUPERCLASS=\"" + escape(decl.superClass) + "\"";
    out += ">";
    for (const PropertyDecl& p : decl.properties) {
        CMPIType t = static_cast<CMPIType>(p.type & ~CMPI_ARRAY);
        std::string head;
        const char* tag;
        if (t == CMPI_ref) {
            tag = "PROPERTY.REFERENCE";
            head = "<PROPERTY.REFERENCE NAME=\"" + escape(p.name) + "\"";
            if (!p.referenceClass.empty())
                head += " REFERENCECLASS=\"" + escape(p.referenceClass) + "\"";
        } else {
            tag = (p.type & CMPI_ARRAY) ? "PROPERTY.ARRAY" : "PROPERTY";
            head = std::string("<") + tag + " NAME=\"" + escape(p.name) + "\" TYPE=\"" + typeName(t) + "\"";
        }
        out += head + ">";
        if (p.key)
            writeQualifier(out, "Key");
        out += std::string("</") + tag + ">";
    }
    for (const MethodDecl& m : decl.methods) {
        out += "<METHOD NAME=\"" + escape(m.name) + "\" TYPE=\"" + typeName(m.returnType) + "\">";
        for (const ParameterDecl& p : m.parameters) {
            CMPIType t = static_cast<CMPIType>(p.type & ~CMPI_ARRAY);
            bool array = (p.type & CMPI_ARRAY) != 0;
            const char* tag;
            std::string head;
            if (t == CMPI_ref) {
                tag = array ? "PARAMETER.REFARRAY" : "PARAMETER.REFERENCE";
                head = std::string("<") + tag + " NAME=\"" + escape(p.name) + "\"";
                if (!p.referenceClass.empty())
                    head += " REFERENCECLASS=\"" + escape(p.referenceClass) + "\"";
            } else {
                tag = array ? "PARAMETER.ARRAY" : "PARAMETER";
                head = std::string("<") + tag + " NAME=\"" + escape(p.name) + "\" TYPE=\"" + typeName(t) + "\"";
            }
            out += head + ">";
            if (p.in)
                writeQualifier(out, "IN");
            if (p.out)
                writeQualifier(out, "OUT");
            out += std::string("</") + tag + ">";
        }
        out += "</METHOD>";
    }
    out += "</CLASS>";
}

bool Codec::readScalar(const std::string& text, CMPIType type, Value& value, std::string& error)
{
    unsigned long long u = 0;
    long long s = 0;
    double r = 0;
    bool good = true;
    switch (type) {
    case CMPI_boolean: {
        std::string t = trimmed(text);
        if (same(t.c_str(), "true"))
            value = Value::boolValue(true);
        else if (same(t.c_str(), "false"))
            value = Value::boolValue(false);
        else
            good = false;
        break;
    }
    case CMPI_char16: {
        size_t i = 0;
        unsigned long cp = 0;
        good = !text.empty() && nextCodePoint(text, i, cp) && i == text.size() && cp <= 0xFFFF;
        if (good)
            value = Value::char16(static_cast<unsigned>(cp));
        break;
    }
    case CMPI_uint8: good = readUnsigned(text, 0xFF, u); if (good) value = Value::uint8(unsigned(u)); break;
    case CMPI_uint16: good = readUnsigned(text, 0xFFFF, u); if (good) value = Value::uint16(unsigned(u)); break;
    case CMPI_uint32:
        good = readUnsigned(text, 0xFFFFFFFFull, u);
        if (good)
            value = Value::uint32(static_cast<unsigned long>(u));
        break;
    case CMPI_uint64:
        good = readUnsigned(text, std::numeric_limits<unsigned long long>::max(), u);
        if (good)
            value = Value::uint64(u);
        break;
    case CMPI_sint8: good = readSigned(text, 127, s); if (good) value = Value::sint8(int(s)); break;
    case CMPI_sint16: good = readSigned(text, 32767, s); if (good) value = Value::sint16(int(s)); break;
    case CMPI_sint32:
        good = readSigned(text, 2147483647LL, s);
        if (good)
            value = Value::sint32(static_cast<long>(s));
        break;
    case CMPI_sint64:
        good = readSigned(text, std::numeric_limits<long long>::max(), s);
        if (good)
            value = Value::sint64(s);
        break;
    case CMPI_real32:
        good = readReal(text, r) && std::fabs(r) <= std::numeric_limits<float>::max();
        if (good)
            value = Value::real32(static_cast<float>(r));
        break;
    case CMPI_real64: good = readReal(text, r); if (good) value = Value::real64(r); break;
    case CMPI_string:
    case CMPI_chars: value = Value::string(text); break;
    case CMPI_dateTime:
        good = isDateTime(trimmed(text));
        if (good)
            value = Value::dateTime(trimmed(text));
        break;
    default: good = false;
    }
    if (!good) {
        std::string name = typeName(type);
        error = "\"" + text.substr(0, 64) + "\" is not a " + (name.empty() ? "supported" : name) + " value";
    }
    return good;
}

bool Codec::readValue(const pugi::xml_node& node, CMPIType type, Value& value, std::string& error)
{
    CMPIType element = static_cast<CMPIType>(type & ~CMPI_ARRAY);
    const char* tag = node.name();
    if (same(tag, "VALUE.REFERENCE")) {
        if (type != CMPI_null && element != CMPI_ref) {
            error = "a reference where a " + typeName(type) + " was expected";
            return false;
        }
        PathSpec path;
        if (!readReference(node, path, error))
            return false;
        value = Value::reference(path);
        return true;
    }
    if (same(tag, "VALUE.ARRAY") || same(tag, "VALUE.REFARRAY")) {
        bool refs = same(tag, "VALUE.REFARRAY");
        if (element == CMPI_null)
            element = refs ? CMPI_ref : CMPI_string;
        if (type != CMPI_null && !(type & CMPI_ARRAY)) {
            error = "an array where a single value was expected";
            return false;
        }
        Value::Elements elements;
        for (pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element)
                continue;
            Value e;
            if (same(child.name(), "VALUE.NULL")) {
                e = Value::null(element);
            } else if (same(child.name(), "VALUE.REFERENCE") && element == CMPI_ref) {
                PathSpec path;
                if (!readReference(child, path, error))
                    return false;
                e = Value::reference(path);
            } else if (same(child.name(), "VALUE") && element != CMPI_ref) {
                if (!readScalar(textOf(child), element, e, error))
                    return false;
            } else {
                error = std::string("unexpected ") + child.name() + " in " + tag;
                return false;
            }
            elements.push_back(std::move(e));
        }
        value = Value::array(element, std::move(elements));
        return true;
    }
    if (same(tag, "VALUE")) {
        if (type & CMPI_ARRAY) {
            error = "a single value where an array was expected";
            return false;
        }
        if (element == CMPI_ref) {
            error = "a VALUE where a reference was expected";
            return false;
        }
        return readScalar(textOf(node), element == CMPI_null ? CMPIType(CMPI_string) : element, value, error);
    }
    if (same(tag, "VALUE.NULL")) {
        value = Value::null(type == CMPI_null ? CMPIType(CMPI_string) : type);
        return true;
    }
    error = std::string("unexpected ") + tag;
    return false;
}

bool Codec::readLocalNamespacePath(const pugi::xml_node& node, std::string& nameSpace, std::string& error)
{
    std::string ns;
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element)
            continue;
        if (!same(child.name(), "NAMESPACE")) {
            error = std::string("unexpected ") + child.name() + " in LOCALNAMESPACEPATH";
            return false;
        }
        std::string segment = attr(child, "NAME");
        if (segment.empty()) {
            error = "NAMESPACE without NAME";
            return false;
        }
        if (!ns.empty())
            ns += '/';
        ns += segment;
    }
    if (ns.empty()) {
        error = "empty LOCALNAMESPACEPATH";
        return false;
    }
    nameSpace = ns;
    return true;
}

bool Codec::readInstanceName(const pugi::xml_node& node, PathSpec& path, std::string& error)
{
    return readInstanceName(node, path, error, 0);
}

bool Codec::readInstanceName(const pugi::xml_node& node, PathSpec& path, std::string& error, int depth)
{
    if (!same(node.name(), "INSTANCENAME")) {
        error = std::string("expected INSTANCENAME, not ") + node.name();
        return false;
    }
    path.className = attr(node, "CLASSNAME");
    if (path.className.empty()) {
        error = "INSTANCENAME without CLASSNAME";
        return false;
    }
    path.keys.clear();
    std::unordered_set<std::string> seen;
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element)
            continue;
        if (path.keys.size() >= maxKeys) {
            error = "more than " + std::to_string(maxKeys) + " keys";
            return false;
        }
        pugi::xml_node valueNode;
        std::string name;
        if (same(child.name(), "KEYBINDING")) {
            name = attr(child, "NAME");
            for (pugi::xml_node v : child.children())
                if (v.type() == pugi::node_element) {
                    valueNode = v;
                    break;
                }
            if (name.empty() || !valueNode) {
                error = "KEYBINDING without NAME or value";
                return false;
            }
        } else if (same(child.name(), "KEYVALUE") || same(child.name(), "VALUE.REFERENCE")) {
            // A single unnamed key: the class's only one.
            valueNode = child;
        } else {
            error = std::string("unexpected ") + child.name() + " in INSTANCENAME";
            return false;
        }
        Value value;
        if (same(valueNode.name(), "KEYVALUE")) {
            std::string text = textOf(valueNode);
            std::string kind = attr(valueNode, "VALUETYPE");
            std::string typeText = attr(valueNode, "TYPE");
            CMPIType type = CMPI_null;
            if (!typeText.empty() && !typeFromName(typeText, type)) {
                error = "unknown KEYVALUE TYPE " + typeText.substr(0, 32);
                return false;
            }
            if (type == CMPI_null) {
                if (kind.empty() || same(kind.c_str(), "string")) {
                    type = CMPI_string;
                } else if (same(kind.c_str(), "boolean")) {
                    type = CMPI_boolean;
                } else if (same(kind.c_str(), "numeric")) {
                    std::string t = trimmed(text);
                    if (t.find_first_of(".eE") != std::string::npos && t.find_first_of("xX") == std::string::npos)
                        type = CMPI_real64;
                    else
                        type = !t.empty() && t[0] == '-' ? CMPI_sint64 : CMPI_uint64;
                } else {
                    error = "unknown KEYVALUE VALUETYPE " + kind.substr(0, 32);
                    return false;
                }
            }
            if (type == CMPI_ref) {
                error = "KEYVALUE cannot hold a reference";
                return false;
            }
            if (!readScalar(text, type, value, error))
                return false;
        } else if (same(valueNode.name(), "VALUE.REFERENCE")) {
            if (depth >= maxDepth) {
                error = "references nested too deep";
                return false;
            }
            PathSpec inner;
            if (!readReference(valueNode, inner, error, depth + 1))
                return false;
            value = Value::reference(inner);
        } else {
            error = std::string("unexpected ") + valueNode.name() + " in KEYBINDING";
            return false;
        }
        if (!seen.insert(lowered(name)).second) {
            error = "key " + name.substr(0, 64) + " given twice";
            return false;
        }
        path.keys.emplace_back(name, std::move(value));
    }
    return true;
}

bool Codec::readReference(const pugi::xml_node& node, PathSpec& path, std::string& error)
{
    return readReference(node, path, error, 0);
}

bool Codec::readReference(const pugi::xml_node& node, PathSpec& path, std::string& error, int depth)
{
    if (depth > maxDepth) {
        error = "references nested too deep";
        return false;
    }
    pugi::xml_node inner;
    for (pugi::xml_node child : node.children())
        if (child.type() == pugi::node_element) {
            inner = child;
            break;
        }
    if (!inner) {
        error = "empty VALUE.REFERENCE";
        return false;
    }
    path = PathSpec();
    if (same(inner.name(), "INSTANCENAME"))
        return readInstanceName(inner, path, error, depth);
    if (same(inner.name(), "LOCALINSTANCEPATH")) {
        pugi::xml_node ns = inner.child("LOCALNAMESPACEPATH");
        pugi::xml_node name = inner.child("INSTANCENAME");
        if (!ns || !name) {
            error = "LOCALINSTANCEPATH needs LOCALNAMESPACEPATH and INSTANCENAME";
            return false;
        }
        return readLocalNamespacePath(ns, path.nameSpace, error) && readInstanceName(name, path, error, depth);
    }
    if (same(inner.name(), "INSTANCEPATH")) {
        pugi::xml_node nsPath = inner.child("NAMESPACEPATH");
        pugi::xml_node name = inner.child("INSTANCENAME");
        pugi::xml_node ns = nsPath.child("LOCALNAMESPACEPATH");
        if (!nsPath || !name || !ns) {
            error = "INSTANCEPATH needs NAMESPACEPATH and INSTANCENAME";
            return false;
        }
        path.host = textOf(nsPath.child("HOST"));
        return readLocalNamespacePath(ns, path.nameSpace, error) && readInstanceName(name, path, error, depth);
    }
    error = std::string("unsupported reference form ") + inner.name();
    return false;
}

bool Codec::readInstance(const pugi::xml_node& node, const ClassCatalog* catalog, InstanceSpec& instance,
                         std::string& error)
{
    if (!same(node.name(), "INSTANCE")) {
        error = std::string("expected INSTANCE, not ") + node.name();
        return false;
    }
    std::string className = attr(node, "CLASSNAME");
    if (className.empty()) {
        error = "INSTANCE without CLASSNAME";
        return false;
    }
    instance.path.className = className;
    instance.properties.clear();
    // A property given again replaces the earlier value, found by name.
    std::unordered_map<std::string, size_t> at;
    for (pugi::xml_node p : node.children()) {
        if (p.type() != pugi::node_element || same(p.name(), "QUALIFIER"))
            continue;
        if (instance.properties.size() >= maxProperties) {
            error = "more than " + std::to_string(maxProperties) + " properties";
            return false;
        }
        bool array = same(p.name(), "PROPERTY.ARRAY");
        bool reference = same(p.name(), "PROPERTY.REFERENCE");
        if (!array && !reference && !same(p.name(), "PROPERTY")) {
            error = std::string("unexpected ") + p.name() + " in INSTANCE";
            return false;
        }
        std::string name = attr(p, "NAME");
        if (name.empty()) {
            error = "property without NAME";
            return false;
        }
        CMPIType type = CMPI_null;
        std::string typeText = attr(p, "TYPE");
        if (reference) {
            type = CMPI_ref;
        } else if (!typeText.empty()) {
            if (!typeFromName(typeText, type) || type == CMPI_ref) {
                error = "unknown TYPE " + typeText.substr(0, 32) + " of " + name;
                return false;
            }
        } else if (!catalog || !catalog->propertyType(className, name, type)) {
            type = CMPI_string;
        }
        if (array)
            type = static_cast<CMPIType>(type | CMPI_ARRAY);
        else if (!reference)
            type = static_cast<CMPIType>(type & ~CMPI_ARRAY);
        pugi::xml_node valueNode;
        for (pugi::xml_node v : p.children())
            if (v.type() == pugi::node_element && !same(v.name(), "QUALIFIER")) {
                valueNode = v;
                break;
            }
        Value value = Value::null(type);
        if (valueNode && !readValue(valueNode, type, value, error)) {
            error = name.substr(0, 64) + ": " + error;
            return false;
        }
        auto placed = at.emplace(lowered(name), instance.properties.size());
        if (placed.second)
            instance.properties.emplace_back(name, std::move(value));
        else
            instance.properties[placed.first->second].second = std::move(value);
    }
    return true;
}

} // namespace cimhost::cimxml
