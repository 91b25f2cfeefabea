#include "Value.h"

#include <cmpimacs.h>

#include <strings.h>

#include <cstdio>

#include "Broker.h"
#include "BrokerObjects.h"
#include "PathText.h"

namespace cimhost {

namespace {

Value scalar(CMPIType type)
{
    Value v;
    v.type = type;
    v.null = false;
    return v;
}

bool isUnsigned(CMPIType t)
{
    return t == CMPI_uint8 || t == CMPI_uint16 || t == CMPI_uint32 || t == CMPI_uint64 || t == CMPI_char16;
}

bool isSigned(CMPIType t) { return t == CMPI_sint8 || t == CMPI_sint16 || t == CMPI_sint32 || t == CMPI_sint64; }

const Value* lookup(const NamedValues& list, const std::string& name)
{
    for (const auto& entry : list)
        if (strcasecmp(entry.first.c_str(), name.c_str()) == 0)
            return &entry.second;
    return nullptr;
}

} // namespace

Value Value::string(const std::string& v)
{
    Value out = scalar(CMPI_string);
    out.text = v;
    return out;
}
Value Value::uint8(unsigned v) { Value o = scalar(CMPI_uint8); o.u = v & 0xFFu; return o; }
Value Value::uint16(unsigned v) { Value o = scalar(CMPI_uint16); o.u = v & 0xFFFFu; return o; }
Value Value::uint32(unsigned long v) { Value o = scalar(CMPI_uint32); o.u = v & 0xFFFFFFFFul; return o; }
Value Value::uint64(unsigned long long v) { Value o = scalar(CMPI_uint64); o.u = v; return o; }
Value Value::sint32(long v) { Value o = scalar(CMPI_sint32); o.s = v; return o; }
Value Value::sint64(long long v) { Value o = scalar(CMPI_sint64); o.s = v; return o; }
Value Value::boolValue(bool v) { Value o = scalar(CMPI_boolean); o.boolean = v; return o; }
Value Value::reference(const PathSpec& path)
{
    Value o = scalar(CMPI_ref);
    o.ref = std::make_shared<PathSpec>(path);
    return o;
}
Value Value::dateTime(const std::string& cimText)
{
    Value o = scalar(CMPI_dateTime);
    o.text = cimText;
    return o;
}
Value Value::array(CMPIType elementType, std::vector<Value> elements)
{
    Value o = scalar(static_cast<CMPIType>((elementType & ~CMPI_ARRAY) | CMPI_ARRAY));
    o.elements = std::move(elements);
    return o;
}
Value Value::stringArray(const std::vector<std::string>& v)
{
    std::vector<Value> e;
    for (const auto& s : v)
        e.push_back(string(s));
    return array(CMPI_string, e);
}
Value Value::uint16Array(const std::vector<unsigned>& v)
{
    std::vector<Value> e;
    for (unsigned x : v)
        e.push_back(uint16(x));
    return array(CMPI_uint16, e);
}

std::string Value::toText() const
{
    if (null)
        return std::string();
    if (isArray()) {
        std::string out = "{";
        for (size_t i = 0; i < elements.size(); ++i) {
            if (i)
                out += ',';
            out += elements[i].toText();
        }
        return out + "}";
    }
    char buf[64];
    if (isUnsigned(type)) {
        std::snprintf(buf, sizeof buf, "%llu", u);
        return buf;
    }
    if (isSigned(type)) {
        std::snprintf(buf, sizeof buf, "%lld", s);
        return buf;
    }
    switch (type) {
    case CMPI_boolean:
        return boolean ? "true" : "false";
    case CMPI_real32:
    case CMPI_real64:
        std::snprintf(buf, sizeof buf, "%.17g", real);
        return buf;
    case CMPI_ref:
        return ref ? pathToText(*ref) : std::string();
    default:
        return text;
    }
}

bool Value::operator==(const Value& o) const
{
    if (null != o.null)
        return false;
    if (null)
        return true;
    if (isArray() != o.isArray())
        return false;
    if (isArray()) {
        if (elements.size() != o.elements.size())
            return false;
        for (size_t i = 0; i < elements.size(); ++i)
            if (!(elements[i] == o.elements[i]))
                return false;
        return true;
    }
    return toText() == o.toText();
}

const Value* PathSpec::key(const std::string& name) const { return lookup(keys, name); }
const Value* InstanceSpec::property(const std::string& name) const { return lookup(properties, name); }

void InstanceSpec::set(const std::string& name, const Value& value)
{
    for (auto& entry : properties)
        if (strcasecmp(entry.first.c_str(), name.c_str()) == 0) {
            entry.second = value;
            return;
        }
    properties.emplace_back(name, value);
}

Value toValue(const CMPIData& d)
{
    Value v;
    v.type = d.type;
    if (d.state & (CMPI_nullValue | CMPI_notFound))
        return v;
    if (d.type & CMPI_ARRAY) {
        if (!d.value.array)
            return v;
        v.null = false;
        CMPICount n = CMGetArrayCount(d.value.array, nullptr);
        for (CMPICount i = 0; i < n; ++i)
            v.elements.push_back(toValue(CMGetArrayElementAt(d.value.array, i, nullptr)));
        return v;
    }
    v.null = false;
    switch (d.type) {
    case CMPI_boolean: v.boolean = d.value.boolean != 0; break;
    case CMPI_char16: v.u = d.value.char16; break;
    case CMPI_uint8: v.u = d.value.uint8; break;
    case CMPI_uint16: v.u = d.value.uint16; break;
    case CMPI_uint32: v.u = d.value.uint32; break;
    case CMPI_uint64: v.u = d.value.uint64; break;
    case CMPI_sint8: v.s = d.value.sint8; break;
    case CMPI_sint16: v.s = d.value.sint16; break;
    case CMPI_sint32: v.s = d.value.sint32; break;
    case CMPI_sint64: v.s = d.value.sint64; break;
    case CMPI_real32: v.real = d.value.real32; break;
    case CMPI_real64: v.real = d.value.real64; break;
    case CMPI_string: {
        const char* s = d.value.string ? CMGetCharsPtr(d.value.string, nullptr) : nullptr;
        if (!s)
            v.null = true;
        else
            v.text = s;
        break;
    }
    case CMPI_chars:
        if (d.value.chars)
            v.text = d.value.chars;
        v.type = CMPI_string;
        break;
    case CMPI_ref:
        if (d.value.ref)
            v.ref = std::make_shared<PathSpec>(toPathSpec(d.value.ref));
        else
            v.null = true;
        break;
    case CMPI_dateTime: {
        CMPIString* s = d.value.dateTime ? CMGetStringFormat(d.value.dateTime, nullptr) : nullptr;
        if (s && CMGetCharsPtr(s, nullptr))
            v.text = CMGetCharsPtr(s, nullptr);
        else
            v.null = true;
        break;
    }
    default:
        v.null = true;
        break;
    }
    return v;
}

PathSpec toPathSpec(const CMPIObjectPath* path)
{
    PathSpec spec;
    if (!path)
        return spec;
    CMPIString* s = CMGetNameSpace(path, nullptr);
    if (s && CMGetCharsPtr(s, nullptr))
        spec.nameSpace = CMGetCharsPtr(s, nullptr);
    s = CMGetClassName(path, nullptr);
    if (s && CMGetCharsPtr(s, nullptr))
        spec.className = CMGetCharsPtr(s, nullptr);
    s = CMGetHostname(path, nullptr);
    if (s && CMGetCharsPtr(s, nullptr))
        spec.host = CMGetCharsPtr(s, nullptr);
    CMPICount n = CMGetKeyCount(path, nullptr);
    for (CMPICount i = 0; i < n; ++i) {
        CMPIString* name = nullptr;
        CMPIData d = CMGetKeyAt(path, i, &name, nullptr);
        if (name && CMGetCharsPtr(name, nullptr))
            spec.keys.emplace_back(CMGetCharsPtr(name, nullptr), toValue(d));
    }
    return spec;
}

InstanceSpec toInstanceSpec(const CMPIInstance* inst)
{
    InstanceSpec spec;
    if (!inst)
        return spec;
    spec.path = toPathSpec(CMGetObjectPath(inst, nullptr));
    CMPICount n = CMGetPropertyCount(inst, nullptr);
    for (CMPICount i = 0; i < n; ++i) {
        CMPIString* name = nullptr;
        CMPIData d = CMGetPropertyAt(inst, i, &name, nullptr);
        if (name && CMGetCharsPtr(name, nullptr))
            spec.properties.emplace_back(CMGetCharsPtr(name, nullptr), toValue(d));
    }
    return spec;
}

CMPIData toData(Broker* broker, Arena& arena, const Value& v)
{
    if (v.null)
        return nullData(v.type == CMPI_null ? CMPIType(CMPI_string) : v.type);
    CMPIData d;
    d.type = v.type;
    d.state = CMPI_goodValue;
    d.value.uint64 = 0;
    if (v.isArray()) {
        ArrayObject* a = ArrayObject::create(broker, arena, v.type & ~CMPI_ARRAY,
                                             static_cast<CMPICount>(v.elements.size()));
        for (size_t i = 0; i < v.elements.size(); ++i)
            a->elements[i] = toData(broker, arena, v.elements[i]);
        d.value.array = &a->cell.cmpi;
        return d;
    }
    switch (v.type) {
    case CMPI_boolean: d.value.boolean = v.boolean ? 1 : 0; break;
    case CMPI_char16: d.value.char16 = static_cast<CMPIChar16>(v.u); break;
    case CMPI_uint8: d.value.uint8 = static_cast<CMPIUint8>(v.u); break;
    case CMPI_uint16: d.value.uint16 = static_cast<CMPIUint16>(v.u); break;
    case CMPI_uint32: d.value.uint32 = static_cast<CMPIUint32>(v.u); break;
    case CMPI_uint64: d.value.uint64 = v.u; break;
    case CMPI_sint8: d.value.sint8 = static_cast<CMPISint8>(v.s); break;
    case CMPI_sint16: d.value.sint16 = static_cast<CMPISint16>(v.s); break;
    case CMPI_sint32: d.value.sint32 = static_cast<CMPISint32>(v.s); break;
    case CMPI_sint64: d.value.sint64 = v.s; break;
    case CMPI_real32: d.value.real32 = static_cast<CMPIReal32>(v.real); break;
    case CMPI_real64: d.value.real64 = v.real; break;
    case CMPI_ref:
        if (!v.ref)
            return nullData(CMPI_ref);
        d.value.ref = toObjectPath(broker, arena, *v.ref);
        break;
    case CMPI_dateTime: {
        DateTimeObject* dt = DateTimeObject::parse(broker, arena, v.text.c_str());
        if (!dt)
            return nullData(CMPI_dateTime);
        d.value.dateTime = &dt->cell.cmpi;
        break;
    }
    default:
        d.type = CMPI_string;
        d.value.string = newString(broker, arena, v.text);
        break;
    }
    return d;
}

CMPIObjectPath* toObjectPath(Broker* broker, Arena& arena, const PathSpec& spec)
{
    ObjectPathObject* path = ObjectPathObject::create(broker, arena, spec.nameSpace, spec.className);
    path->host = spec.host;
    for (const auto& key : spec.keys) {
        CMPIData d = toData(broker, arena, key.second);
        d.state |= CMPI_keyValue;
        setNamed(path->keys, key.first.c_str(), d);
    }
    return &path->cell.cmpi;
}

CMPIInstance* toInstance(Broker* broker, Arena& arena, const InstanceSpec& spec)
{
    CMPIObjectPath* path = toObjectPath(broker, arena, spec.path);
    InstanceObject* inst = InstanceObject::create(broker, arena, path);
    for (const auto& p : spec.properties)
        setNamed(inst->properties, p.first.c_str(), toData(broker, arena, p.second));
    return &inst->cell.cmpi;
}

} // namespace cimhost
