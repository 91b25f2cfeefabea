#ifndef KORVU_PROVIDERUTILITIES_H
#define KORVU_PROVIDERUTILITIES_H

#include <string>
#include <vector>

#include <cmpidt.h>
#include <cmpift.h>

#include "Moniker.h"

namespace Korvu {

// Helpers that build and read CMPI paths and instances. Everything returned
// belongs to the broker. Nothing here throws except std::bad_alloc.
class ProviderUtilities {
public:
    // Identifier of a known class; unknownClassId for anything else or null.
    static unsigned short getClassId(const CMPIObjectPath* path);
    static unsigned short getClassId(const char* className);
    static const unsigned short unknownClassId = 0;

    static std::string getNamespace(const CMPIObjectPath* path);
    // Saturates at 65,535.
    static unsigned short getKeyCount(const CMPIObjectPath* path);

    // Any non-reference key is given as text; false when absent or null.
    static bool getKeyProperty(const CMPIObjectPath* path, const char* name, std::string& value);
    static bool getKeyProperty(const CMPIObjectPath* path, const char* name, CMPIObjectPath** value);

    static CMPIObjectPath* createObjectPath(const CMPIBroker* broker, const char* className,
                                            std::string nameSpace);
    static CMPIInstance* createInstance(const CMPIBroker* broker, CMPIObjectPath* path);
    // As createInstance, then releases the path: the instance keeps its own
    // copy, and a request that builds thousands of instances does not keep
    // a spare path for each.
    static CMPIInstance* instanceFrom(const CMPIBroker* broker, CMPIObjectPath* path);

    static void setKeyProperty(CMPIObjectPath* path, const char* name, const std::string& value);
    static void setKeyProperty(CMPIObjectPath* path, const char* name, CMPIObjectPath* value);

    static void setProperty(CMPIInstance* inst, const char* name, std::string& value);
    static void setProperty(CMPIInstance* inst, const char* name, unsigned short value);
    static void setProperty(CMPIInstance* inst, const char* name, unsigned int value);
    static void setProperty(CMPIInstance* inst, const char* name, unsigned long long value);
    static void setProperty(CMPIInstance* inst, const char* name, bool value);
    static void setProperty(CMPIInstance* inst, const char* name, CMPIObjectPath* value);
    static void setProperty(const CMPIBroker* broker, CMPIInstance* inst, const char* name,
                            std::vector<unsigned short>& values);
    static void setProperty(const CMPIBroker* broker, CMPIInstance* inst, const char* name,
                            std::vector<std::string>& values);

    // False when the property is absent, null or of another type.
    static bool getProperty(const CMPIInstance* inst, const char* name, std::string& value);
    // True when the instance has a value for the property: brokers that make
    // a path's keys properties of the instance made from it need no second
    // copy of them.
    static bool holdsProperty(const CMPIInstance* inst, const char* name);
    static bool getProperty(const CMPIInstance* inst, const char* name, unsigned short& value);
    static bool getProperty(const CMPIInstance* inst, const char* name, unsigned int& value);
    static bool getProperty(const CMPIInstance* inst, const char* name, bool& value);
    static bool getProperty(const CMPIInstance* inst, const char* name,
                            std::vector<std::string>& values);
    static bool getProperty(const CMPIInstance* inst, const char* name,
                            std::vector<unsigned short>& values);

    static void transformObjectPathToMoniker(const CMPIObjectPath* path, Moniker& moniker);
    static void transformMonikerToObjectPath(Moniker& moniker, CMPIObjectPath** path);

    // Text of a key or property value of any scalar type; false for arrays,
    // null values and types without a text form.
    static bool dataToString(const CMPIData& data, std::string& text);
};

} // namespace Korvu

#endif
