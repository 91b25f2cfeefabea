#ifndef KORVU_IPIF_CMPISTATICORDEREDCOMPONENT_H
#define KORVU_IPIF_CMPISTATICORDEREDCOMPONENT_H

#include <cmpidt.h>

#include <string>

#include "CMPIAssignmentSettingData.h"
#include "CMPIStaticIPAssignmentSettingData.h"
#include "StaticOrderedComponent.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Tavrix_StaticOrderedComponent: the ":static" IP assignment setting of an
// interface (GroupComponent) and its static IP assignment setting
// (PartComponent). Every operation lets FrameworkException,
// InstrumentationException and ProviderException of the resolvers and end
// objects pass.
class CMPIStaticOrderedComponent {
public:
    CMPIStaticOrderedComponent(const CMPIBroker* broker, const CMPIContext* context,
                               const CMPIObjectPath* path);
    ~CMPIStaticOrderedComponent();

    operator bool();
    void operator++();

    CMPIObjectPath* getObjectPath();
    CMPIInstance* getCMPIInstance(const char** properties);
    CMPIInstance* getAssociator(const char** properties);
    CMPIObjectPath* getAssociatorNames();
    bool isNotTargetClass(const char* resultClass);

    // Positions both ends on the references of a keyed association path;
    // false (nothing set) for a path without keys.
    bool setObjectPath(const CMPIObjectPath* path);

    // The assignment setting of a static setting; null when no path can be
    // created.
    CMPIObjectPath* locateAssignmentSetting(const CMPIObjectPath* path);
    // The static setting of a ":static" assignment setting.
    CMPIObjectPath* locateStaticAssignmentSetting(const CMPIObjectPath* path);

private:
    const CMPIBroker* broker;
    const CMPIContext* context;
    std::string nameSpace;
    unsigned short sourceClassId;
    CMPIAssignmentSettingData settings;
    CMPIStaticIPAssignmentSettingData statics;
    StaticOrderedComponent model;
    // False when a located path could not be created: nothing is yielded.
    bool located;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
