#include "MofWriter.h"

#include <cstdio>

#include "PathText.h"

namespace ipifhost {

std::string MofWriter::quote(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string MofWriter::literal(const cimhost::Value& value)
{
    if (value.isNull())
        return "NULL";
    if (value.isArray()) {
        std::string out = "{";
        bool first = true;
        for (const cimhost::Value& element : value.elements()) {
            out += (first ? "" : ", ") + literal(element);
            first = false;
        }
        return out + "}";
    }
    const CMPIType type = value.type;
    if (type == CMPI_ref)
        return value.asReference() ? quote(cimhost::pathToText(*value.asReference())) : "NULL";
    if (type == CMPI_string || type == CMPI_chars || type == CMPI_dateTime || type == CMPI_char16)
        return quote(value.toText());
    return value.toText();
}

std::string MofWriter::instance(const cimhost::InstanceSpec& inst)
{
    std::string out = "instance of " + inst.path.className + " {\n";
    for (const auto& property : inst.properties)
        out += "    " + property.first + " = " + literal(property.second) + ";\n";
    return out + "};\n";
}

} // namespace ipifhost
