#ifndef CIMHOST_DATETIMEOBJECT_H
#define CIMHOST_DATETIMEOBJECT_H

#include <cmpidt.h>
#include <cmpift.h>

#include <string>

#include "Arena.h"
#include "BrokerData.h"

namespace cimhost {

class Broker;

// A CMPIDateTime: a point in time or an interval, in microseconds.
class DateTimeObject : public Releasable {
public:
    static constexpr bool memoryOnly = true;
    static DateTimeObject* create(Broker* broker, Arena& arena, CMPIUint64 microseconds,
                                  bool interval);
    // Null when the text is not a CIM date-time.
    static DateTimeObject* parse(Broker* broker, Arena& arena, const char* text);
    static const void* functionTable();
    // CIM text form, in UTC for points in time.
    std::string text() const;
    explicit DateTimeObject(std::pmr::memory_resource*) {}
    Cell<CMPIDateTime> cell;
    CMPIUint64 microseconds;  // since the epoch, or the interval's length
    bool interval;
    Broker* broker;
    Arena* arena;
};

} // namespace cimhost

#endif
