#include "BrokerData.h"

#include <cmpimacs.h>

#include <strings.h>

#include <cstring>

#include "ArrayObject.h"
#include "Broker.h"
#include "DateTimeObject.h"
#include "InstanceObject.h"
#include "ObjectPathObject.h"
#include "StringObject.h"

namespace cimhost {

CMPIStatus okStatus()
{
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    return status;
}

CMPIStatus makeStatus(CMPIrc rc, Broker* broker, const char* text)
{
    CMPIStatus status = {rc, nullptr};
    if (broker && text)
        status.msg = newString(broker, targetArena(broker), text);
    return status;
}

void setStatus(CMPIStatus* rc, CMPIrc code)
{
    if (rc) {
        rc->rc = code;
        rc->msg = nullptr;
    }
}

bool equalsIgnoreCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && strcasecmp(a.c_str(), b.c_str()) == 0;
}

CMPIData nullData(CMPIType type)
{
    CMPIData d;
    d.type = type;
    d.state = CMPI_nullValue;
    d.value.uint64 = 0;
    return d;
}

CMPIData notFoundData()
{
    CMPIData d = nullData(CMPI_null);
    d.state = CMPI_notFound | CMPI_nullValue;
    return d;
}

size_t fanOutChoice(const std::vector<CMPIrc>& answers)
{
    bool anyOk = false;
    for (CMPIrc rc : answers)
        anyOk = anyOk || rc == CMPI_RC_OK;
    for (size_t i = 0; i < answers.size(); ++i) {
        CMPIrc rc = answers[i];
        bool notMine = rc == CMPI_RC_ERR_NOT_SUPPORTED || rc == CMPI_RC_ERR_INVALID_CLASS;
        if (rc != CMPI_RC_OK && !(anyOk && notMine))
            return i;
    }
    for (size_t i = 0; i < answers.size(); ++i)
        if (answers[i] == CMPI_RC_OK)
            return i;
    return 0;
}

CMPIData* findNamed(NamedData& list, const char* name)
{
    if (!name)
        return nullptr;
    // Names of another length cannot match whatever their case; most
    // lookups pass over a dozen properties before they find theirs.
    const size_t length = strlen(name);
    for (auto& entry : list)
        if (entry.first.size() == length && strcasecmp(entry.first.c_str(), name) == 0)
            return &entry.second;
    return nullptr;
}

const CMPIData* findNamed(const NamedData& list, const char* name)
{
    return findNamed(const_cast<NamedData&>(list), name);
}

void setNamed(NamedData& list, const char* name, const CMPIData& data)
{
    if (CMPIData* existing = findNamed(list, name)) {
        *existing = data;
        return;
    }
    // Paths have a few keys, association instances a few references and
    // values, other instances a dozen properties or two: a list past eight
    // goes to 32 at once, as each growth moves every name.
    if (list.size() == list.capacity())
        list.reserve(list.capacity() == 0 ? 4 : list.capacity() < 8 ? 8 : list.capacity() < 32 ? 32 : 2 * list.capacity());
    list.emplace_back(name, data);
}

namespace {

// A foreign string may give no text: it reads as empty.
const char* charsOf(const CMPIString* s)
{
    const char* text = CMGetCharsPtr(s, nullptr);
    return text ? text : "";
}

} // namespace

CMPIData copyData(Broker* broker, Arena& arena, const CMPIData& source)
{
    CMPIData d = source;
    if (d.state & (CMPI_nullValue | CMPI_notFound))
        return d;
    if (d.type & CMPI_ARRAY) {
        if (!d.value.array)
            return nullData(d.type);
        ArrayObject* from = ownerOf<ArrayObject>(d.value.array);
        if (!from)
            return nullData(d.type);
        ArrayObject* to = ArrayObject::create(broker, arena, from->elementType,
                                              static_cast<CMPICount>(from->elements.size()));
        for (size_t i = 0; i < from->elements.size(); ++i)
            to->elements[i] = copyData(broker, to->parts, from->elements[i]);
        d.value.array = &to->cell.cmpi;
        return d;
    }
    switch (d.type) {
    case CMPI_string:
        d.value.string = d.value.string ? newString(broker, arena, charsOf(d.value.string)) : nullptr;
        break;
    case CMPI_ref:
        if (d.value.ref)
            d.value.ref = &ObjectPathObject::copy(broker, arena, d.value.ref)->cell.cmpi;
        break;
    case CMPI_instance:
        if (d.value.inst)
            d.value.inst = &InstanceObject::copy(broker, arena, d.value.inst)->cell.cmpi;
        break;
    case CMPI_dateTime:
        if (d.value.dateTime) {
            DateTimeObject* from = ownerOf<DateTimeObject>(d.value.dateTime);
            if (!from)
                return nullData(d.type);
            d.value.dateTime =
                &DateTimeObject::create(broker, arena, from->microseconds, from->interval)->cell.cmpi;
        }
        break;
    default:
        break;
    }
    return d;
}

CMPIData makeData(Broker* broker, Arena& arena, const CMPIValue* value, CMPIType type, bool key)
{
    if (!value)
        return nullData(type == CMPI_chars ? CMPIType(CMPI_string) : type);
    CMPIData d;
    d.state = CMPI_goodValue;
    d.type = type;
    d.value.uint64 = 0;
    switch (type) {
    case CMPI_chars:
    case CMPI_charsptr: {
        // The value pointer is the text itself.
        const char* text = reinterpret_cast<const char*>(value);
        d.type = CMPI_string;
        d.value.string = key ? keyString(broker, arena, text) : newString(broker, arena, text);
        return d;
    }
    case CMPI_boolean: d.value.boolean = value->boolean; break;
    case CMPI_char16: d.value.char16 = value->char16; break;
    case CMPI_uint8: d.value.uint8 = value->uint8; break;
    case CMPI_uint16: d.value.uint16 = value->uint16; break;
    case CMPI_uint32: d.value.uint32 = value->uint32; break;
    case CMPI_uint64: d.value.uint64 = value->uint64; break;
    case CMPI_sint8: d.value.sint8 = value->sint8; break;
    case CMPI_sint16: d.value.sint16 = value->sint16; break;
    case CMPI_sint32: d.value.sint32 = value->sint32; break;
    case CMPI_sint64: d.value.sint64 = value->sint64; break;
    case CMPI_real32: d.value.real32 = value->real32; break;
    case CMPI_real64: d.value.real64 = value->real64; break;
    default: {
        // Read only the member the type names: the caller's value may be
        // just a pointer variable.
        CMPIData in = nullData(type);
        in.state = CMPI_goodValue;
        bool isNullPointer = false;
        if (type & CMPI_ARRAY) {
            in.value.array = value->array;
            isNullPointer = !value->array;
        } else if (type == CMPI_string) {
            in.value.string = value->string;
            isNullPointer = !value->string;
        } else if (type == CMPI_ref) {
            in.value.ref = value->ref;
            isNullPointer = !value->ref;
        } else if (type == CMPI_instance) {
            in.value.inst = value->inst;
            isNullPointer = !value->inst;
        } else if (type == CMPI_dateTime) {
            in.value.dateTime = value->dateTime;
            isNullPointer = !value->dateTime;
        } else if (type == CMPI_args) {
            in.value.args = value->args;
        } else if (type == CMPI_enumeration) {
            in.value.Enum = value->Enum;
        } else {
            return nullData(type);
        }
        if (isNullPointer)
            return nullData(type);
        if (key && type == CMPI_string) {
            d.value.string = keyString(broker, arena, charsOf(in.value.string));
            return d;
        }
        return copyData(broker, arena, in);
    }
    }
    return d;
}

} // namespace cimhost
