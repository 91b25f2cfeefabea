#ifndef IPIFHOST_MOFWRITER_H
#define IPIFHOST_MOFWRITER_H

#include <string>

#include "Value.h"

namespace ipifhost {

// Instances and values in MOF syntax, as CIM tools print them.
class MofWriter {
public:
    // "instance of Class {\n    Name = value;\n};\n"
    static std::string instance(const cimhost::InstanceSpec& inst);
    // A value as a MOF literal: strings and references quoted and escaped,
    // arrays in braces, null as NULL.
    static std::string literal(const cimhost::Value& value);
    static std::string quote(const std::string& text);
};

} // namespace ipifhost

#endif
