#ifndef CIMHOST_BROKERDATA_H
#define CIMHOST_BROKERDATA_H

// Helpers the broker objects share for CMPIData, statuses and names.

#include <cmpidt.h>
#include <cmpift.h>

#include <memory_resource>
#include <string>
#include <utility>
#include <vector>

#include "Arena.h"
#include "Name.h"

namespace cimhost {

class Broker;

// Where new objects go: the current request's arena, else the broker's own.
Arena& targetArena(Broker* broker);

// Deep copy of a value into `arena` (strings, paths, instances, arrays and
// date-times are duplicated; args and enumerations are shared).
CMPIData copyData(Broker* broker, Arena& arena, const CMPIData& data);
// Builds data from a value pointer as the CMPI calls receive it, reading
// only the member the type names; a string of a `key` is a keyString.
CMPIData makeData(Broker* broker, Arena& arena, const CMPIValue* value, CMPIType type, bool key = false);
CMPIData nullData(CMPIType type);
CMPIData notFoundData();
CMPIStatus okStatus();
CMPIStatus makeStatus(CMPIrc rc, Broker* broker = nullptr, const char* text = nullptr);
void setStatus(CMPIStatus* rc, CMPIrc code);
bool equalsIgnoreCase(const std::string& a, const std::string& b);

// Status of a request several providers answered: the first failure,
// except that answers meaning "not mine" (CMPI_RC_ERR_NOT_SUPPORTED,
// CMPI_RC_ERR_INVALID_CLASS) are passed over when another answered OK.
// Index of the chosen answer; 0 when there are none.
size_t fanOutChoice(const std::vector<CMPIrc>& answers);

using NamedData = std::pmr::vector<std::pair<Name, CMPIData>>;
// Case-insensitive lookup as CIM names are compared.
CMPIData* findNamed(NamedData& list, const char* name);
const CMPIData* findNamed(const NamedData& list, const char* name);
void setNamed(NamedData& list, const char* name, const CMPIData& data);

} // namespace cimhost

#endif
