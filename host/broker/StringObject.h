#ifndef CIMHOST_STRINGOBJECT_H
#define CIMHOST_STRINGOBJECT_H

#include <cmpidt.h>
#include <cmpift.h>

#include <string>

#include "Arena.h"
#include "BrokerData.h"

namespace cimhost {

class Broker;

// A CMPIString whose handle is its zero-terminated text.
class StringObject : public Releasable {
public:
    static StringObject* create(Broker* broker, Arena& arena, const std::string& text);
    static const void* functionTable();
    Cell<CMPIString> cell;
    std::string text;
    Broker* broker;
    Arena* arena;
};

CMPIString* newString(Broker* broker, Arena& arena, const std::string& text);

} // namespace cimhost

#endif
