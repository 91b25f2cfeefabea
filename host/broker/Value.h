#ifndef CIMHOST_VALUE_H
#define CIMHOST_VALUE_H

#include <cmpidt.h>
#include <cmpift.h>

#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace cimhost {

class Broker;
class Arena;
struct PathSpec;

// A CIM value apart from any broker: what tests write down and what the
// host prints or receives over the wire. `type` is the CMPI type (with
// CMPI_ARRAY for arrays); the variant holds the value in its widest form:
// unsigned integers and char16 as unsigned long long, signed integers as
// long long, reals as double, strings and date-time text as std::string.
// Nothing here throws except std::bad_alloc.
struct Value {
    using Elements = std::vector<Value>;
    using Reference = std::shared_ptr<const PathSpec>;
    using Storage = std::variant<std::monostate, bool, unsigned long long, long long, double,
                                 std::string, Reference, Elements>;

    CMPIType type = CMPI_null;
    Storage data;

    static Value null(CMPIType type = CMPI_null);
    static Value string(const std::string& v);
    static Value boolValue(bool v);
    static Value char16(unsigned v);
    static Value uint8(unsigned v);
    static Value uint16(unsigned v);
    static Value uint32(unsigned long v);
    static Value uint64(unsigned long long v);
    static Value sint8(int v);
    static Value sint16(int v);
    static Value sint32(long v);
    static Value sint64(long long v);
    static Value real32(float v);
    static Value real64(double v);
    static Value reference(const PathSpec& path);
    static Value dateTime(const std::string& cimText);
    static Value array(CMPIType elementType, Elements elements);
    static Value stringArray(const std::vector<std::string>& v);
    static Value uint16Array(const std::vector<unsigned>& v);

    bool isNull() const { return std::holds_alternative<std::monostate>(data); }
    bool isArray() const { return (type & CMPI_ARRAY) != 0; }

    // Readers answer a neutral value (false, 0, "", null, empty) when the
    // value holds something else.
    bool asBool() const;
    unsigned long long asUnsigned() const;
    long long asSigned() const;
    double asReal() const;
    const std::string& asString() const;
    const PathSpec* asReference() const;
    const Elements& elements() const;

    // Text form: strings as they are, numbers in decimal, true/false,
    // references as path text, arrays as {a,b}; "" for null.
    std::string toText() const;
    // Equal when both are null, or both are of the same kind (text,
    // number, boolean, reference, array) with the same text form; so a
    // uint16 key equals the uint64 that path text parses it back to.
    bool operator==(const Value& other) const;
    bool operator!=(const Value& other) const { return !(*this == other); }
};

using NamedValues = std::vector<std::pair<std::string, Value>>;

struct PathSpec {
    std::string nameSpace;
    std::string className;
    std::string host;
    NamedValues keys;
    // Lookups ignore case; null when absent.
    const Value* key(const std::string& name) const;
};

struct InstanceSpec {
    PathSpec path;
    NamedValues properties;
    const Value* property(const std::string& name) const;
    // Replaces the property of that name (any case) or appends it.
    void set(const std::string& name, const Value& value);
};

Value toValue(const CMPIData& data);
PathSpec toPathSpec(const CMPIObjectPath* path);
InstanceSpec toInstanceSpec(const CMPIInstance* inst);

// The objects made land in `arena`.
// A string of a `key` is a keyString.
CMPIData toData(Broker* broker, Arena& arena, const Value& value, bool key = false);
CMPIObjectPath* toObjectPath(Broker* broker, Arena& arena, const PathSpec& spec);
// Key properties are set from the path's keys, then the properties.
CMPIInstance* toInstance(Broker* broker, Arena& arena, const InstanceSpec& spec);

} // namespace cimhost

#endif
