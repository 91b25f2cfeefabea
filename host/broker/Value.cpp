#include "Value.h"

#include <cmpimacs.h>

#include <strings.h>

#include <cstdio>

#include "ArrayObject.h"
#include "Broker.h"
#include "DateTimeObject.h"
#include "InstanceObject.h"
#include "ObjectPathObject.h"
#include "PathText.h"
#include "StringObject.h"

namespace cimhost {

namespace {

template <class T> Value make(CMPIType type, T v)
{
    Value out;
    out.type = type;
    out.data = std::move(v);
    return out;
}

const Value* lookup(const NamedValues& list, const std::string& name)
{
    for (const auto& entry : list)
        if (strcasecmp(entry.first.c_str(), name.c_str()) == 0)
            return &entry.second;
    return nullptr;
}

// Which values may equal each other.
enum class Kind { Null, Text, Number, Boolean, Reference, Array };

Kind kindOf(const Value& v)
{
    if (v.isNull())
        return Kind::Null;
    if (v.isArray())
        return Kind::Array;
    switch (v.type) {
    case CMPI_boolean: return Kind::Boolean;
    case CMPI_ref: return Kind::Reference;
    case CMPI_string:
    case CMPI_chars:
    case CMPI_dateTime: return Kind::Text;
    default: return Kind::Number;
    }
}

const std::string emptyText;
const Value::Elements noElements;

} // namespace

Value Value::null(CMPIType type)
{
    Value out;
    out.type = type;
    return out;
}
Value Value::string(const std::string& v) { return make(CMPI_string, v); }
Value Value::boolValue(bool v) { return make(CMPI_boolean, v); }
Value Value::char16(unsigned v) { return make(CMPI_char16, static_cast<unsigned long long>(v & 0xFFFFu)); }
Value Value::uint8(unsigned v) { return make(CMPI_uint8, static_cast<unsigned long long>(v & 0xFFu)); }
Value Value::uint16(unsigned v) { return make(CMPI_uint16, static_cast<unsigned long long>(v & 0xFFFFu)); }
Value Value::uint32(unsigned long v)
{
    return make(CMPI_uint32, static_cast<unsigned long long>(v & 0xFFFFFFFFul));
}
Value Value::uint64(unsigned long long v) { return make(CMPI_uint64, v); }
Value Value::sint8(int v) { return make(CMPI_sint8, static_cast<long long>(static_cast<CMPISint8>(v))); }
Value Value::sint16(int v) { return make(CMPI_sint16, static_cast<long long>(static_cast<CMPISint16>(v))); }
Value Value::sint32(long v) { return make(CMPI_sint32, static_cast<long long>(static_cast<CMPISint32>(v))); }
Value Value::sint64(long long v) { return make(CMPI_sint64, v); }
Value Value::real32(float v) { return make(CMPI_real32, static_cast<double>(v)); }
Value Value::real64(double v) { return make(CMPI_real64, v); }
Value Value::reference(const PathSpec& path)
{
    return make(CMPI_ref, Reference(std::make_shared<const PathSpec>(path)));
}
Value Value::dateTime(const std::string& cimText) { return make(CMPI_dateTime, cimText); }
Value Value::array(CMPIType elementType, Elements elements)
{
    return make(static_cast<CMPIType>(elementType | CMPI_ARRAY), std::move(elements));
}
Value Value::stringArray(const std::vector<std::string>& v)
{
    Elements e;
    for (const auto& s : v)
        e.push_back(string(s));
    return array(CMPI_string, std::move(e));
}
Value Value::uint16Array(const std::vector<unsigned>& v)
{
    Elements e;
    for (unsigned x : v)
        e.push_back(uint16(x));
    return array(CMPI_uint16, std::move(e));
}

bool Value::asBool() const
{
    const bool* v = std::get_if<bool>(&data);
    return v && *v;
}
unsigned long long Value::asUnsigned() const
{
    if (const unsigned long long* v = std::get_if<unsigned long long>(&data))
        return *v;
    const long long* s = std::get_if<long long>(&data);
    return s ? static_cast<unsigned long long>(*s) : 0;
}
long long Value::asSigned() const
{
    if (const long long* v = std::get_if<long long>(&data))
        return *v;
    const unsigned long long* u = std::get_if<unsigned long long>(&data);
    return u ? static_cast<long long>(*u) : 0;
}
double Value::asReal() const
{
    if (const double* v = std::get_if<double>(&data))
        return *v;
    if (const long long* s = std::get_if<long long>(&data))
        return static_cast<double>(*s);
    const unsigned long long* u = std::get_if<unsigned long long>(&data);
    return u ? static_cast<double>(*u) : 0;
}
const std::string& Value::asString() const
{
    const std::string* v = std::get_if<std::string>(&data);
    return v ? *v : emptyText;
}
const PathSpec* Value::asReference() const
{
    const Reference* v = std::get_if<Reference>(&data);
    return v ? v->get() : nullptr;
}
const Value::Elements& Value::elements() const
{
    const Elements* v = std::get_if<Elements>(&data);
    return v ? *v : noElements;
}

std::string Value::toText() const
{
    char buf[64];
    switch (data.index()) {
    case 1:
        return asBool() ? "true" : "false";
    case 2:
        std::snprintf(buf, sizeof buf, "%llu", asUnsigned());
        return buf;
    case 3:
        std::snprintf(buf, sizeof buf, "%lld", asSigned());
        return buf;
    case 4:
        // Enough digits to read the same value back.
        std::snprintf(buf, sizeof buf, type == CMPI_real32 ? "%.9g" : "%.17g", asReal());
        return buf;
    case 5:
        return asString();
    case 6:
        return asReference() ? pathToText(*asReference()) : std::string();
    case 7: {
        std::string out = "{";
        const Elements& e = elements();
        for (size_t i = 0; i < e.size(); ++i) {
            if (i)
                out += ',';
            out += e[i].toText();
        }
        return out + "}";
    }
    default:
        return std::string();
    }
}

bool Value::operator==(const Value& o) const
{
    Kind kind = kindOf(*this);
    if (kind != kindOf(o))
        return false;
    if (kind == Kind::Array) {
        const Elements& a = elements();
        const Elements& b = o.elements();
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i])
                return false;
        return true;
    }
    return kind == Kind::Null || toText() == o.toText();
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

namespace {

std::string textOf(CMPIString* s)
{
    const char* chars = s ? CMGetCharsPtr(s, nullptr) : nullptr;
    return chars ? chars : std::string();
}

} // namespace

Value toValue(const CMPIData& d)
{
    CMPIType type = d.type == CMPI_chars ? CMPIType(CMPI_string) : d.type;
    if (d.state & (CMPI_nullValue | CMPI_notFound))
        return Value::null(type);
    if (d.type & CMPI_ARRAY) {
        if (!d.value.array)
            return Value::null(type);
        Value::Elements elements;
        CMPICount n = CMGetArrayCount(d.value.array, nullptr);
        for (CMPICount i = 0; i < n; ++i)
            elements.push_back(toValue(CMGetArrayElementAt(d.value.array, i, nullptr)));
        return Value::array(static_cast<CMPIType>(type & ~CMPI_ARRAY), std::move(elements));
    }
    switch (d.type) {
    case CMPI_boolean: return Value::boolValue(d.value.boolean != 0);
    case CMPI_char16: return Value::char16(d.value.char16);
    case CMPI_uint8: return Value::uint8(d.value.uint8);
    case CMPI_uint16: return Value::uint16(d.value.uint16);
    case CMPI_uint32: return Value::uint32(d.value.uint32);
    case CMPI_uint64: return Value::uint64(d.value.uint64);
    case CMPI_sint8: return Value::sint8(d.value.sint8);
    case CMPI_sint16: return Value::sint16(d.value.sint16);
    case CMPI_sint32: return Value::sint32(d.value.sint32);
    case CMPI_sint64: return Value::sint64(d.value.sint64);
    case CMPI_real32: return Value::real32(d.value.real32);
    case CMPI_real64: return Value::real64(d.value.real64);
    case CMPI_string: {
        const char* s = d.value.string ? CMGetCharsPtr(d.value.string, nullptr) : nullptr;
        return s ? Value::string(s) : Value::null(CMPI_string);
    }
    case CMPI_chars:
        return d.value.chars ? Value::string(d.value.chars) : Value::null(CMPI_string);
    case CMPI_ref:
        return d.value.ref ? Value::reference(toPathSpec(d.value.ref)) : Value::null(CMPI_ref);
    case CMPI_dateTime: {
        CMPIString* s = d.value.dateTime ? CMGetStringFormat(d.value.dateTime, nullptr) : nullptr;
        return s ? Value::dateTime(textOf(s)) : Value::null(CMPI_dateTime);
    }
    default:
        return Value::null(d.type);
    }
}

PathSpec toPathSpec(const CMPIObjectPath* path)
{
    PathSpec spec;
    if (!path)
        return spec;
    spec.nameSpace = textOf(CMGetNameSpace(path, nullptr));
    spec.className = textOf(CMGetClassName(path, nullptr));
    spec.host = textOf(CMGetHostname(path, nullptr));
    CMPICount n = CMGetKeyCount(path, nullptr);
    for (CMPICount i = 0; i < n; ++i) {
        CMPIString* name = nullptr;
        CMPIData d = CMGetKeyAt(path, i, &name, nullptr);
        if (name)
            spec.keys.emplace_back(textOf(name), toValue(d));
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
        if (name)
            spec.properties.emplace_back(textOf(name), toValue(d));
    }
    return spec;
}

CMPIData toData(Broker* broker, Arena& arena, const Value& v, bool key)
{
    if (v.isNull())
        return nullData(v.type == CMPI_null ? CMPIType(CMPI_string) : v.type);
    CMPIData d;
    d.type = v.type;
    d.state = CMPI_goodValue;
    d.value.uint64 = 0;
    if (v.isArray()) {
        const Value::Elements& elements = v.elements();
        ArrayObject* a = ArrayObject::create(broker, arena, v.type & ~CMPI_ARRAY,
                                             static_cast<CMPICount>(elements.size()));
        for (size_t i = 0; i < elements.size(); ++i)
            a->elements[i] = toData(broker, a->parts, elements[i]);
        d.value.array = &a->cell.cmpi;
        return d;
    }
    switch (v.type) {
    case CMPI_boolean: d.value.boolean = v.asBool() ? 1 : 0; break;
    case CMPI_char16: d.value.char16 = static_cast<CMPIChar16>(v.asUnsigned()); break;
    case CMPI_uint8: d.value.uint8 = static_cast<CMPIUint8>(v.asUnsigned()); break;
    case CMPI_uint16: d.value.uint16 = static_cast<CMPIUint16>(v.asUnsigned()); break;
    case CMPI_uint32: d.value.uint32 = static_cast<CMPIUint32>(v.asUnsigned()); break;
    case CMPI_uint64: d.value.uint64 = v.asUnsigned(); break;
    case CMPI_sint8: d.value.sint8 = static_cast<CMPISint8>(v.asSigned()); break;
    case CMPI_sint16: d.value.sint16 = static_cast<CMPISint16>(v.asSigned()); break;
    case CMPI_sint32: d.value.sint32 = static_cast<CMPISint32>(v.asSigned()); break;
    case CMPI_sint64: d.value.sint64 = v.asSigned(); break;
    case CMPI_real32: d.value.real32 = static_cast<CMPIReal32>(v.asReal()); break;
    case CMPI_real64: d.value.real64 = v.asReal(); break;
    case CMPI_ref:
        if (!v.asReference())
            return nullData(CMPI_ref);
        d.value.ref = toObjectPath(broker, arena, *v.asReference());
        break;
    case CMPI_dateTime: {
        DateTimeObject* dt = DateTimeObject::parse(broker, arena, v.asString().c_str());
        if (!dt)
            return nullData(CMPI_dateTime);
        d.value.dateTime = &dt->cell.cmpi;
        break;
    }
    default:
        d.type = CMPI_string;
        // Text as it is stored, without a copy first.
        if (const std::string* text = std::get_if<std::string>(&v.data))
            d.value.string = key ? keyString(broker, arena, *text) : newString(broker, arena, *text);
        else
            d.value.string = key ? keyString(broker, arena, v.toText()) : newString(broker, arena, v.toText());
        break;
    }
    return d;
}

CMPIObjectPath* toObjectPath(Broker* broker, Arena& arena, const PathSpec& described)
{
    ObjectPathObject* path = ObjectPathObject::create(broker, arena, described.nameSpace, described.className);
    PathBody& body = path->own();
    body.host = described.host;
    for (const auto& key : described.keys) {
        CMPIData d = toData(broker, body.parts, key.second, true);
        d.state |= CMPI_keyValue;
        setNamed(body.keys, key.first.c_str(), d);
    }
    return &path->cell.cmpi;
}

CMPIInstance* toInstance(Broker* broker, Arena& arena, const InstanceSpec& spec)
{
    CMPIObjectPath* path = toObjectPath(broker, arena, spec.path);
    InstanceObject* inst = InstanceObject::create(broker, arena, path);
    for (const auto& p : spec.properties)
        setNamed(inst->properties, p.first.c_str(), toData(broker, inst->parts, p.second));
    CMRelease(path);
    return &inst->cell.cmpi;
}

} // namespace cimhost
