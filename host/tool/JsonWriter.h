#ifndef IPIFHOST_JSONWRITER_H
#define IPIFHOST_JSONWRITER_H

#include <nlohmann/json.hpp>

#include "Value.h"

namespace ipifhost {

// JSON forms of CIM values for scripts: numbers and booleans stay typed,
// strings and date-times are strings, references are WBEM URI text, arrays
// are arrays and null is null. An instance is {"class", "path",
// "properties"}; property order is the provider's.
class JsonWriter {
public:
    static nlohmann::ordered_json value(const cimhost::Value& value);
    static nlohmann::ordered_json instance(const cimhost::InstanceSpec& inst);
    static nlohmann::ordered_json path(const cimhost::PathSpec& path);
};

} // namespace ipifhost

#endif
