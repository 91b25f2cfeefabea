#ifndef CIMHOST_VALUE_H
#define CIMHOST_VALUE_H

#include <cmpidt.h>
#include <cmpift.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace cimhost {

class Broker;
class Arena;
struct PathSpec;

// A CIM value apart from any broker: what tests write down and what the
// host prints or receives over the wire.
struct Value {
    CMPIType type = CMPI_null;  // element type for arrays, with CMPI_ARRAY set
    bool null = true;
    std::string text;           // strings and date-times
    unsigned long long u = 0;   // unsigned, char16
    long long s = 0;            // signed
    double real = 0;
    bool boolean = false;
    std::shared_ptr<PathSpec> ref;
    std::vector<Value> elements;

    static Value string(const std::string& v);
    static Value uint8(unsigned v);
    static Value uint16(unsigned v);
    static Value uint32(unsigned long v);
    static Value uint64(unsigned long long v);
    static Value sint32(long v);
    static Value sint64(long long v);
    static Value boolValue(bool v);
    static Value reference(const PathSpec& path);
    static Value dateTime(const std::string& cimText);
    static Value array(CMPIType elementType, std::vector<Value> elements);
    static Value stringArray(const std::vector<std::string>& v);
    static Value uint16Array(const std::vector<unsigned>& v);

    bool isArray() const { return (type & CMPI_ARRAY) != 0; }
    // Text form: strings as they are, numbers in decimal, true/false,
    // references as path text, arrays as {a,b}.
    std::string toText() const;
    bool operator==(const Value& other) const;
};

using NamedValues = std::vector<std::pair<std::string, Value>>;

struct PathSpec {
    std::string nameSpace;
    std::string className;
    std::string host;
    NamedValues keys;
    const Value* key(const std::string& name) const;
};

struct InstanceSpec {
    PathSpec path;
    NamedValues properties;
    const Value* property(const std::string& name) const;
    void set(const std::string& name, const Value& value);
};

Value toValue(const CMPIData& data);
PathSpec toPathSpec(const CMPIObjectPath* path);
InstanceSpec toInstanceSpec(const CMPIInstance* inst);

CMPIData toData(Broker* broker, Arena& arena, const Value& value);
CMPIObjectPath* toObjectPath(Broker* broker, Arena& arena, const PathSpec& spec);
// Key properties are set from the path's keys, then the properties.
CMPIInstance* toInstance(Broker* broker, Arena& arena, const InstanceSpec& spec);

} // namespace cimhost

#endif
