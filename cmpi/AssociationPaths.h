#ifndef KORVU_IPIF_ASSOCIATIONPATHS_H
#define KORVU_IPIF_ASSOCIATIONPATHS_H

#include <cmpidt.h>

#include <string>
#include <unordered_set>
#include <vector>

#include "ProviderUtilities.h"

namespace Korvu {
namespace IPInterfaceProvider {

// The request an association class works for: where its paths go and how
// it reaches the CIM server.
struct EndContext {
    const CMPIBroker* broker;
    const CMPIContext* context;
    const std::string& nameSpace;
};

// Path work shared by the association CIM classes. Holds no state.
class AssociationPaths {
public:
    // True when className names one of the classes of the null-terminated
    // list, ASCII case ignored.
    static bool isClass(const char* className, const char* const* classes);

    // True when every key of `given` is a key of `element` with the same
    // value (names compared without regard to case). A path with no key
    // selects nothing.
    static bool selects(const CMPIObjectPath* given, const CMPIObjectPath* element);

    // Class and keys of a path as one text; equal texts name one element.
    static std::string identity(const CMPIObjectPath* path);

    // Text of a string key; empty when absent.
    static std::string key(const CMPIObjectPath* path, const char* name);

    // Every element of one of this module's CIM classes, in store order,
    // each once: a class whose elements come from several nodes of one
    // interface may name an element more than once.
    template <class End>
    static void listOwn(const EndContext& c, std::vector<CMPIObjectPath*>& out)
    {
        std::unordered_set<std::string> seen;
        End end(c.broker, c.context, c.nameSpace);
        while (end) {
            if (CMPIObjectPath* path = end.getObjectPath())
                if (seen.insert(identity(path)).second)
                    out.push_back(path);
            ++end;
        }
    }

    // The instance of one of this module's CIM classes that `path` names.
    template <class End>
    static CMPIInstance* instanceOwn(const EndContext& c, const CMPIObjectPath* path,
                                     const char** properties)
    {
        End end(c.broker, c.context, path);
        return end ? end.getCMPIInstance(properties) : nullptr;
    }

    // Every instance name of a class that another provider serves. A class
    // nobody serves has none; any other failure of the CIM server throws
    // ProviderException.
    static void listServed(const EndContext& c, const char* className,
                           std::vector<CMPIObjectPath*>& out);

    // The instance another provider serves under `path`; null when it
    // cannot be had.
    static CMPIInstance* instanceServed(const EndContext& c, const CMPIObjectPath* path,
                                        const char** properties);
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
