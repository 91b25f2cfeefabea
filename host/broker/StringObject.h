#ifndef CIMHOST_STRINGOBJECT_H
#define CIMHOST_STRINGOBJECT_H

#include <cmpidt.h>
#include <cmpift.h>

#include <string>
#include <string_view>

#include "Arena.h"
#include "BrokerData.h"

namespace cimhost {

class Broker;

// A CMPIString whose handle is its zero-terminated text, kept right after
// the object in the same piece of memory. No length is kept: CMPI reads the
// text up to its first zero, and a request holds several strings per
// returned element.
class StringObject : public Releasable {
public:
    static constexpr bool memoryOnly = true;
    static StringObject* create(Broker* broker, Arena& arena, std::string_view text);
    static const void* functionTable();
    Cell<CMPIString> cell;
    Broker* broker;
    Arena* arena;
};

// A string an object holds in a request's memory (a key's or a property's
// value): the text and the broker, nothing to list or release, since it
// goes with the request. A path or instance holds one per string value,
// several per returned element.
struct PartString {
    static const void* functionTable();
    Broker* broker;
    CMPIString cmpi;
};

// A StringObject, or a PartString when `arena` holds an object's parts in
// a request's memory.
CMPIString* newString(Broker* broker, Arena& arena, std::string_view text);
// The same for a key's value. The keys of a request's paths repeat most of
// their values (the classes, the system): in a request's memory, a value
// equal to one of the last made on the request's thread is that string. A
// part string is never changed or ended before its request, so its holders
// may share it. Other values (properties) seldom repeat, and looking cost
// them more than it saved.
CMPIString* keyString(Broker* broker, Arena& arena, std::string_view text);

} // namespace cimhost

#endif
