#ifndef CIMHOST_OBJECTPATHOBJECT_H
#define CIMHOST_OBJECTPATHOBJECT_H

#include <cmpidt.h>
#include <cmpift.h>

#include <string>

#include "Arena.h"
#include "BrokerData.h"

namespace cimhost {

class Broker;

// A CMPIObjectPath: namespace, host, class and ordered keys looked up
// without regard to case.
class ObjectPathObject : public Releasable {
public:
    static ObjectPathObject* create(Broker* broker, Arena& arena, const std::string& ns,
                                    const std::string& className);
    static ObjectPathObject* copy(Broker* broker, Arena& arena, const CMPIObjectPath* source);
    static const void* functionTable();
    Cell<CMPIObjectPath> cell;
    std::string nameSpace;
    std::string host;
    std::string className;
    NamedData keys;
    Arena parts;  // the values the keys point to
    Broker* broker;
    Arena* arena;
};

} // namespace cimhost

#endif
