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
// the object in the same piece of memory.
class StringObject : public Releasable {
public:
    static constexpr bool memoryOnly = true;
    static StringObject* create(Broker* broker, Arena& arena, std::string_view text);
    static const void* functionTable();
    Cell<CMPIString> cell;
    std::string_view text;  // zero-terminated
    Broker* broker;
    Arena* arena;
};

CMPIString* newString(Broker* broker, Arena& arena, std::string_view text);

} // namespace cimhost

#endif
