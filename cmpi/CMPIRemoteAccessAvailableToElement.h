#ifndef KORVU_IPIF_CMPIREMOTEACCESSAVAILABLETOELEMENT_H
#define KORVU_IPIF_CMPIREMOTEACCESSAVAILABLETOELEMENT_H

#include <cmpidt.h>

#include <string>
#include <vector>

#include "AssociationClass.h"
#include "CMPIProtocolEndpoint.h"
#include "CMPIRemoteServiceAccessPoint.h"
#include "RemoteAccessAvailableToElement.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Tavrix_IPRemoteAccessAvailableToElement: the remote access points
// (default gateways) of an interface (Antecedent) and every IP protocol
// endpoint of that interface on the same system (Dependent).
struct RemoteAccessAvailableToElementTraits {
    static const char* const name;
    static const char* const qualified;
    static const char* const file;
    static const char* const className;
    static const unsigned short classId;
    static const char* const ancestors[];
    static const AssociationEnd a;
    static const AssociationEnd b;
    using Model = RemoteAccessAvailableToElement;
    static void listA(const EndContext& c, std::vector<CMPIObjectPath*>& out);
    static void listB(const EndContext& c, std::vector<CMPIObjectPath*>& out);
    static void findA(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out);
    static void findB(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out);
    static void candidatesB(const EndContext& c, Model& model, const std::string& key, std::vector<CMPIObjectPath*>& out);
    static void candidatesA(const EndContext& c, Model& model, const std::string& key, std::vector<CMPIObjectPath*>& out);
    static CMPIInstance* instanceA(const EndContext& c, const CMPIObjectPath* path, const char** properties);
    static CMPIInstance* instanceB(const EndContext& c, const CMPIObjectPath* path, const char** properties);
    static std::string keyA(Model& model, const PathKeys& path, bool given);
    static std::string keyB(Model& model, const PathKeys& path, bool given);
    static void addProperties(Model& model, CMPIInstance* instance, const CMPIObjectPath* a, const CMPIObjectPath* b);
};

using CMPIRemoteAccessAvailableToElement = AssociationClass<RemoteAccessAvailableToElementTraits>;
extern template class AssociationClass<RemoteAccessAvailableToElementTraits>;

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
