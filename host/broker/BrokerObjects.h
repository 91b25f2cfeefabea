#ifndef CIMHOST_BROKEROBJECTS_H
#define CIMHOST_BROKEROBJECTS_H

// The broker's implementations of the CMPI encapsulated types. Every object
// lives in a Cell: its owner pointer sits right before the CMPI struct, so a
// function-table call can find the object whatever the struct's handle holds
// (a string's handle must be its text).

#include <cmpidt.h>
#include <cmpift.h>

#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace cimhost {

class Broker;

class Releasable {
public:
    virtual ~Releasable() = default;
};

// Owns every object created while it is current; frees them when it ends.
class Arena {
public:
    Arena() = default;
    ~Arena();
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;

    void adopt(Releasable* object);
    // Frees one object now; false when it does not belong here.
    bool releaseOne(Releasable* object);
    size_t size() const;

    // Arena of the request running on this thread, or null.
    static Arena* current();
    static Arena* exchangeCurrent(Arena* arena);

private:
    mutable std::mutex mutex;
    std::unordered_set<Releasable*> objects;
};

template <class C> struct Cell {
    Releasable* owner;
    C cmpi;
};

template <class Obj, class C> Obj* ownerOf(const C* cmpi)
{
    if (!cmpi)
        return nullptr;
    const char* raw = reinterpret_cast<const char*>(cmpi) - offsetof(Cell<C>, cmpi);
    return static_cast<Obj*>(reinterpret_cast<const Cell<C>*>(raw)->owner);
}

// Where new objects go: the current request's arena, else the broker's own.
Arena& targetArena(Broker* broker);

// Deep copy of a value into `arena` (strings, paths, instances, arrays and
// date-times are duplicated; other encapsulated values are shared).
CMPIData copyData(Broker* broker, Arena& arena, const CMPIData& data);
// Builds data from a value pointer as the CMPI calls receive it.
CMPIData makeData(Broker* broker, Arena& arena, const CMPIValue* value, CMPIType type);
CMPIData nullData(CMPIType type);
CMPIStatus okStatus();
CMPIStatus makeStatus(CMPIrc rc, Broker* broker = nullptr, const char* text = nullptr);
void setStatus(CMPIStatus* rc, CMPIrc code);
bool equalsIgnoreCase(const std::string& a, const std::string& b);

class StringObject : public Releasable {
public:
    static StringObject* create(Broker* broker, Arena& arena, const std::string& text);
    Cell<CMPIString> cell;
    std::string text;
    Broker* broker;
    Arena* arena;
};
CMPIString* newString(Broker* broker, Arena& arena, const std::string& text);

class ArrayObject : public Releasable {
public:
    static ArrayObject* create(Broker* broker, Arena& arena, CMPIType elementType, CMPICount size);
    Cell<CMPIArray> cell;
    CMPIType elementType;
    std::vector<CMPIData> elements;
    Broker* broker;
    Arena* arena;
};

using NamedData = std::vector<std::pair<std::string, CMPIData>>;
// Case-insensitive lookup as CIM names are compared.
CMPIData* findNamed(NamedData& list, const char* name);
const CMPIData* findNamed(const NamedData& list, const char* name);
void setNamed(NamedData& list, const char* name, const CMPIData& data);

class ObjectPathObject : public Releasable {
public:
    static ObjectPathObject* create(Broker* broker, Arena& arena, const std::string& ns,
                                    const std::string& className);
    static ObjectPathObject* copy(Broker* broker, Arena& arena, const CMPIObjectPath* source);
    Cell<CMPIObjectPath> cell;
    std::string nameSpace;
    std::string host;
    std::string className;
    NamedData keys;
    Broker* broker;
    Arena* arena;
};

class InstanceObject : public Releasable {
public:
    static InstanceObject* create(Broker* broker, Arena& arena, const CMPIObjectPath* path);
    static InstanceObject* copy(Broker* broker, Arena& arena, const CMPIInstance* source);
    Cell<CMPIInstance> cell;
    std::string nameSpace;
    std::string host;
    std::string className;
    std::vector<std::string> keyNames;  // in path order
    NamedData properties;
    bool hasFilter = false;
    std::vector<std::string> filter;
    Broker* broker;
    Arena* arena;
};

class ArgsObject : public Releasable {
public:
    static ArgsObject* create(Broker* broker, Arena& arena);
    Cell<CMPIArgs> cell;
    NamedData args;
    Broker* broker;
    Arena* arena;
};

class EnumerationObject : public Releasable {
public:
    static EnumerationObject* create(Broker* broker, Arena& arena, std::vector<CMPIData> items);
    Cell<CMPIEnumeration> cell;
    std::vector<CMPIData> items;
    size_t position = 0;
    Broker* broker;
    Arena* arena;
};

class DateTimeObject : public Releasable {
public:
    static DateTimeObject* create(Broker* broker, Arena& arena, CMPIUint64 microseconds,
                                  bool interval);
    // Null when the text is not a CIM date-time.
    static DateTimeObject* parse(Broker* broker, Arena& arena, const char* text);
    Cell<CMPIDateTime> cell;
    CMPIUint64 microseconds;
    bool interval;
    Broker* broker;
    Arena* arena;
};

class ContextObject : public Releasable {
public:
    static ContextObject* create(Broker* broker, Arena& arena);
    Cell<CMPIContext> cell;
    mutable std::mutex mutex;
    NamedData entries;
    Broker* broker;
    Arena* arena;
};

// Records what a provider hands back.
class ResultObject : public Releasable {
public:
    static ResultObject* create(Broker* broker, Arena& arena);
    Cell<CMPIResult> cell;
    std::mutex mutex;
    std::vector<CMPIData> data;
    std::vector<const CMPIInstance*> instances;
    std::vector<const CMPIObjectPath*> paths;
    int doneCount = 0;
    Broker* broker;
    Arena* arena;
};

} // namespace cimhost

#endif
