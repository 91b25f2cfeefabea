#include "JsonWriter.h"

#include "PathText.h"

namespace ipifhost {

nlohmann::ordered_json JsonWriter::value(const cimhost::Value& value)
{
    if (value.isNull())
        return nullptr;
    if (value.isArray()) {
        nlohmann::ordered_json out = nlohmann::ordered_json::array();
        for (const cimhost::Value& element : value.elements())
            out.push_back(JsonWriter::value(element));
        return out;
    }
    if (value.type == CMPI_ref)
        return value.asReference() ? nlohmann::ordered_json(cimhost::pathToText(*value.asReference()))
                                   : nlohmann::ordered_json(nullptr);
    if (value.type == CMPI_boolean)
        return value.asBool();
    if (value.type == CMPI_real32 || value.type == CMPI_real64)
        return value.asReal();
    // The signed bits include the unsigned one.
    if ((value.type & CMPI_SINT) == CMPI_SINT)
        return value.asSigned();
    if ((value.type & CMPI_SINT) == CMPI_UINT)
        return value.asUnsigned();
    // Strings, date-times and char16 keep their text form.
    return value.toText();
}

nlohmann::ordered_json JsonWriter::instance(const cimhost::InstanceSpec& inst)
{
    nlohmann::ordered_json properties = nlohmann::ordered_json::object();
    for (const auto& property : inst.properties)
        properties[property.first] = value(property.second);
    return {{"class", inst.path.className}, {"path", path(inst.path)}, {"properties", properties}};
}

nlohmann::ordered_json JsonWriter::path(const cimhost::PathSpec& path)
{
    return cimhost::pathToText(path);
}

} // namespace ipifhost
