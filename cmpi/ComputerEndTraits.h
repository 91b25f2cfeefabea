#ifndef KORVU_IPIF_COMPUTERENDTRAITS_H
#define KORVU_IPIF_COMPUTERENDTRAITS_H

#include <cmpimacs.h>
#include <strings.h>

#include <string>
#include <vector>

#include "AssociationClass.h"
#include "AssociationPaths.h"
#include "EndResolution.h"

namespace Korvu {
namespace IPInterfaceProvider {

// What the four associations between a computer system (Antecedent, served
// by another provider) and the elements it hosts (Dependent, a CIM class of
// this module) share: an element belongs to the computer whose
// CreationClassName and Name are its SystemCreationClassName and
// SystemName. Each association (Self) adds its names and which computer
// classes it walks, `computers`, null-terminated.
template <class Hosted, class Self>
struct ComputerEndTraits {
    using Model = EndResolution;

    static void listA(const EndContext& c, std::vector<CMPIObjectPath*>& out)
    {
        for (const char* const* cls = Self::computers; *cls; ++cls)
            AssociationPaths::listServed(c, *cls, out);
    }
    // The one system the key names is asked for alone: with an Associators
    // request, its instance comes in the same ask. A key of a class not
    // walked is left to the listing.
    static void candidatesA(const EndContext& c, Model&, const std::string& key, std::vector<CMPIObjectPath*>& out)
    {
        const std::string::size_type cut = key.find('\n');
        if (cut != std::string::npos) {
            const std::string systemClass = key.substr(0, cut);
            for (const char* const* cls = Self::computers; *cls; ++cls) {
                if (strcasecmp(*cls, systemClass.c_str()) != 0)
                    continue;
                if (CMPIObjectPath* path = AssociationPaths::keyPath(
                        c, *cls, {{"CreationClassName", systemClass}, {"Name", key.substr(cut + 1)}})) {
                    AssociationPaths::findServed(c, path, out);
                    return;
                }
                break;
            }
        }
        listA(c, out);
    }

    static void listB(const EndContext& c, std::vector<CMPIObjectPath*>& out)
    {
        AssociationPaths::listOwn<Hosted>(c, out);
    }
    static void findB(const EndContext& c, const CMPIObjectPath* given, std::vector<CMPIObjectPath*>& out)
    {
        AssociationPaths::findOwn<Hosted>(c, given, out);
    }
    static CMPIInstance* instanceA(const EndContext& c, const CMPIObjectPath* path, const char** properties)
    {
        return AssociationPaths::instanceServed(c, path, properties);
    }
    static CMPIInstance* instanceB(const EndContext& c, const CMPIObjectPath* path, const char** properties)
    {
        return AssociationPaths::instanceOwn<Hosted>(c, path, properties);
    }
    // The elements of one system: the key is its class and name. Only the
    // keys of the narrowing path are read.
    static void candidatesB(const EndContext& c, Model&, const std::string& key, std::vector<CMPIObjectPath*>& out)
    {
        const std::string::size_type cut = key.find('\n');
        CMPIObjectPath* narrow =
            cut == std::string::npos
                ? nullptr
                : AssociationPaths::keyPath(c, "CIM_ManagedElement", {{"SystemCreationClassName", key.substr(0, cut)},
                                                                      {"SystemName", key.substr(cut + 1)}});
        AssociationPaths::listOwnNarrowed<Hosted>(c, narrow, out);
    }
    static std::string keyA(Model&, const PathKeys& path, bool)
    {
        std::string creationClass = AssociationPaths::key(path, "CreationClassName");
        if (creationClass.empty()) {
            CMPIString* cls = path.path ? CMGetClassName(path.path, nullptr) : nullptr;
            if (cls && CMGetCharPtr(cls))
                creationClass = CMGetCharPtr(cls);
        }
        return EndResolution::join({creationClass, AssociationPaths::key(path, "Name")});
    }
    static std::string keyB(Model&, const PathKeys& path, bool)
    {
        return EndResolution::join({AssociationPaths::key(path, "SystemCreationClassName"),
                                    AssociationPaths::key(path, "SystemName")});
    }
    static void addProperties(Model&, CMPIInstance*, const CMPIObjectPath*, const CMPIObjectPath*) {}
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
