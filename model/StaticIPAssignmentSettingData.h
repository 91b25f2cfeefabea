#ifndef KORVU_IPIF_STATICIPASSIGNMENTSETTINGDATA_H
#define KORVU_IPIF_STATICIPASSIGNMENTSETTINGDATA_H

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "IfcfgFile.h"
#include "Instrumentation.h"
#include "NodeLexicon.h"
#include "OwningSystem.h"

namespace Korvu {
namespace IPInterfaceProvider {

// One static setting element per IP interface node, InstanceID "Computer:"
// or "BMC:" + interface name. The file-backed values come from the
// interface's ifcfg file in the agent data folder once it exists, from the
// node store until then. Exceptions of the node store and std::bad_alloc
// pass through every operation. A symbolic link in place of the ifcfg file
// is never followed: the file-backed getters throw FrameworkException;
// other file failures never throw.
class StaticIPAssignmentSettingData {
public:
    enum FilterType { BY_INSTANCE_ID = 0 };

    // Outcome of a write to the ifcfg file.
    enum WriteResult {
        WRITE_OK = 0,
        WRITE_BAD_VALUE,      // value holds a line break or a NUL
        WRITE_BAD_FILE_NAME,  // interface name unusable in a file name, or path too long
        WRITE_FAILED,         // the file could not be written
        WRITE_LINK            // a symbolic link stands in place of the file
    };

    StaticIPAssignmentSettingData();

    operator bool();
    void operator++();
    void setFilter(FilterType type, const std::string value);
    bool evaluate();

    bool getInstanceID(std::string& value);
    bool getElementName(std::string& value);
    // Always 3 (static).
    bool getAddressOrigin(unsigned short& value);
    bool getIPv4Address(std::string& value);
    bool getIPv6Address(std::string& value);
    bool getSubnetMask(std::string& value);
    bool getGatewayIPv4Address(std::string& value);
    bool getGatewayIPv6Address(std::string& value);
    bool getIPv6SubnetPrefixLength(unsigned short& value);
    // Node store only; false when it has no value.
    bool getPrefixLength(unsigned int& value);
    bool getIPv6AddressType(unsigned short& value);

    // Each writes one key of the ifcfg file, never the node store; true
    // when the file now holds the value.
    bool setIPv4Address(std::string value);
    bool setSubnetMask(std::string value);
    bool setGatewayIPv4Address(std::string value);
    bool setIPv6Address(std::string value);
    bool setGatewayIPv6Address(std::string value);
    bool setIPv6SubnetPrefixLength(unsigned short value);

    // Writes several keys in one locked rewrite of the ifcfg file, so that
    // concurrent writers never lose each other's keys and a reader sees all
    // of them or none.
    WriteResult setValues(const std::vector<std::pair<std::string, std::string>>& values);

    // Path of the current interface's ifcfg file; false when the interface
    // name cannot make one inside the data folder.
    bool getIfcfgPath(std::string& path);

    // Folder, inside the data folder, of the ifcfg files of service-processor
    // interfaces ("bmc/"): the host's ifcfg-<interface> files stay the
    // host's alone, whatever the service processor calls its interfaces.
    static const char* const serviceProcessorFolder;

    // Longest ifcfg path accepted, in characters.
    static const std::size_t maxPathLength = 127;

private:
    struct Filter {
        FilterType type;
        std::string value;
    };

    // Value of a key: from the file when it exists, else from the store.
    std::string readKey(const char* key, NodeLexicon::Properties fallback);

    // One reading of an ifcfg file, kept for the life of this object (one
    // request): an element's values all come from the same version of its
    // file, and a file is opened once, not once per value.
    struct IfcfgReading {
        bool exists = false;
        bool readable = false;
        IfcfgFile file;
    };
    // Null when the current interface has no usable file path.
    const IfcfgReading* readIfcfg();
    std::map<std::string, IfcfgReading> readings;
    // Each folder is listed once per object (one request): thousands of
    // interfaces without a file then cost no open each.
    struct Listing {
        bool complete = false;
        std::set<std::string> names;
    };
    std::map<std::string, Listing> folders;
    bool listed(const std::string& folder, const std::string& fileName);
    // getIfcfgPath in its two parts: the folder, ending with "/", and the
    // file's name in it.
    bool ifcfgLocation(std::string& folder, std::string& fileName);
    // The reading of the node the cursor stands on, once looked up.
    const IfcfgReading* nodeReading = nullptr;
    bool nodeReadingKnown = false;

    bool filterActive;
    std::vector<Filter> filters;
    Instrumentation cursor;
    OwningSystem owner;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
