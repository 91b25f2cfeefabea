#include "StaticIPAssignmentSettingData.h"

#include <sys/stat.h>

#include <cerrno>

#include "FrameworkException.h"
#include "IfcfgFile.h"
#include "InstanceId.h"
#include "OwningSystem.h"
#include "PlatformUtilities.h"
#include "Trace.h"

namespace Korvu {
namespace IPInterfaceProvider {

IPIF_TRACE_UNIT("StaticIPAssignmentSettingData.cpp");

const char* const StaticIPAssignmentSettingData::serviceProcessorFolder = "bmc/";

namespace {

// The interface name becomes part of a file name in the data folder: no
// way out of it, no control characters (a line break would break every
// line-oriented tool), no name that hides behind a blank, and not "." or
// "..".
bool isSafeFileName(const std::string& name)
{
    if (name.empty() || name == "." || name == ".." || name[0] == ' ')
        return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || c == '/')
            return false;
    return true;
}

// Reads the interface's ifcfg file; a symbolic link in its place is a fault
// to report, not a file to follow.
bool loadIfcfg(const std::string& path, IfcfgFile& file, bool& exists)
{
    bool isLink = false;
    bool readable = IfcfgFile::load(path, file, exists, &isLink);
    if (isLink)
        throw FrameworkException(path + " is a symbolic link; it is not followed");
    return readable;
}

// Decimal text, blanks around it allowed; anything else reads as 0.
unsigned long long decimalValue(const std::string& text)
{
    std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return 0;
    std::size_t end = text.find_last_not_of(" \t");
    unsigned long long number = 0;
    for (std::size_t i = begin; i <= end; ++i) {
        char c = text[i];
        if (c < '0' || c > '9')
            return 0;
        if (number > (~0ULL - 9) / 10)
            return 0;
        number = number * 10 + static_cast<unsigned long long>(c - '0');
    }
    return number;
}

} // namespace

StaticIPAssignmentSettingData::StaticIPAssignmentSettingData() : filterActive(false)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::StaticIPAssignmentSettingData::StaticIPAssignmentSettingData");
    cursor.selectNode(NodeLexicon::NodeType::IP_INTERFACE);
}

StaticIPAssignmentSettingData::operator bool()
{
    TRACE_METHOD("Korvu::IPInterfaceProvider::StaticIPAssignmentSettingData::operator bool");
    return static_cast<bool>(cursor);
}

void StaticIPAssignmentSettingData::operator++()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::StaticIPAssignmentSettingData::operator ++");
    ++cursor;
    while (filterActive && cursor && !evaluate())
        ++cursor;
    nodeReadingKnown = false;
    TRACE_EXIT("Korvu::IPInterfaceProvider::StaticIPAssignmentSettingData::operator ++");
}

void StaticIPAssignmentSettingData::setFilter(FilterType type, const std::string value)
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::StaticIPAssignmentSettingData::setFilter");
    filterActive = true;
    filters.push_back(Filter{type, value});
    while (cursor && !evaluate())
        ++cursor;
    nodeReadingKnown = false;
    TRACE_EXIT("Korvu::IPInterfaceProvider::StaticIPAssignmentSettingData::setFilter");
}

bool StaticIPAssignmentSettingData::evaluate()
{
    TRACE_ENTER("Korvu::IPInterfaceProvider::StaticIPAssignmentSettingData::evaluate");
    for (const Filter& filter : filters) {
        if (filter.type != BY_INSTANCE_ID)
            continue;
        // An InstanceID ends with the node's name: a value that does not is
        // passed over without looking up the system.
        std::string name;
        if (!cursor.getProperty(NodeLexicon::Properties::NAME, name))
            name.clear();
        if (!InstanceId::endsWithInterface(filter.value, name))
            return false;
        std::string instanceId;
        getInstanceID(instanceId);
        if (filter.value != instanceId)
            return false;
    }
    return true;
}

bool StaticIPAssignmentSettingData::getInstanceID(std::string& value)
{
    std::string interfaceName;
    if (!cursor.getProperty(NodeLexicon::Properties::NAME, interfaceName))
        interfaceName.clear();
    // Assigned and appended in the caller's room: no text of its own per element.
    value.assign(owner.description(cursor) == "BMC" ? "BMC:" : "Computer:");
    value += interfaceName;
    return true;
}

bool StaticIPAssignmentSettingData::getElementName(std::string& value)
{
    std::string name;
    if (!cursor.getProperty(NodeLexicon::Properties::NAME, name))
        name.clear();
    value = name;
    return true;
}

bool StaticIPAssignmentSettingData::getAddressOrigin(unsigned short& value)
{
    value = 3;
    return true;
}

bool StaticIPAssignmentSettingData::ifcfgLocation(std::string& folder, std::string& fileName)
{
    if (!cursor)
        return false;
    std::string interfaceName;
    if (!cursor.getProperty(NodeLexicon::Properties::NAME, interfaceName))
        return false;
    // The name goes into a file name in the data folder: it must not
    // lead out of it, and a path over the limit is refused, never cut into
    // the name of another interface's file.
    if (!isSafeFileName(interfaceName))
        return false;
    std::string where = PlatformUtilities::getMaranthDataDir();
    if (where.empty())
        return false;
    // The host's files are the agent's; a service-processor interface of the
    // same name keeps its values in a folder of its own.
    if (owner.isServiceProcessor(cursor))
        where += serviceProcessorFolder;
    // The data folder ends with a separator: the folder is all before the name.
    if (where.size() + 6 + interfaceName.size() > maxPathLength)
        return false;
    folder = std::move(where);
    fileName = "ifcfg-";
    fileName += interfaceName;
    return true;
}

bool StaticIPAssignmentSettingData::getIfcfgPath(std::string& path)
{
    std::string folder, fileName;
    if (!ifcfgLocation(folder, fileName))
        return false;
    path = folder + fileName;
    return true;
}

bool StaticIPAssignmentSettingData::listed(const std::string& folder, const std::string& fileName)
{
    auto known = folders.find(folder);
    if (known == folders.end()) {
        Listing listing;
        listing.complete = IfcfgFile::listFolder(folder, listing.names);
        known = folders.emplace(folder, std::move(listing)).first;
    }
    // A folder that could not be listed: each file is tried.
    return !known->second.complete || known->second.names.count(fileName) > 0;
}

const StaticIPAssignmentSettingData::IfcfgReading* StaticIPAssignmentSettingData::readIfcfg()
{
    // Stands for every file a complete listing of its folder lacks.
    static const IfcfgReading absent = [] {
        IfcfgReading reading;
        reading.readable = true;
        return reading;
    }();
    if (nodeReadingKnown)
        return nodeReading;
    nodeReading = nullptr;
    std::string folder, fileName;
    if (ifcfgLocation(folder, fileName)) {
        if (!listed(folder, fileName)) {
            nodeReading = &absent;
        } else {
            std::string path = folder + fileName;
            auto found = readings.find(path);
            if (found == readings.end()) {
                IfcfgReading reading;
                reading.readable = loadIfcfg(path, reading.file, reading.exists);
                found = readings.emplace(path, std::move(reading)).first;
            }
            nodeReading = &found->second;
        }
    }
    nodeReadingKnown = true;
    return nodeReading;
}

std::string StaticIPAssignmentSettingData::readKey(const char* key, NodeLexicon::Properties fallback)
{
    // Once the file exists it alone holds the interface's static values.
    if (const IfcfgReading* reading = readIfcfg()) {
        if (reading->exists) {
            std::string value;
            if (reading->readable && reading->file.getValue(key, value))
                return value;
            return std::string();
        }
    }
    std::string value;
    if (!cursor.getProperty(fallback, value))
        value.clear();
    return value;
}

bool StaticIPAssignmentSettingData::getIPv4Address(std::string& value)
{
    value = readKey("IPV4ADDR", NodeLexicon::Properties::IPV4_ADDRESS);
    return true;
}

bool StaticIPAssignmentSettingData::getIPv6Address(std::string& value)
{
    value = readKey("IPV6ADDR", NodeLexicon::Properties::IPV6_ADDRESS);
    return true;
}

bool StaticIPAssignmentSettingData::getSubnetMask(std::string& value)
{
    value = readKey("NETMASK", NodeLexicon::Properties::SUBNET_MASK);
    return true;
}

bool StaticIPAssignmentSettingData::getGatewayIPv4Address(std::string& value)
{
    value = readKey("GATEWAY", NodeLexicon::Properties::IPV4_GATEWAY);
    return true;
}

bool StaticIPAssignmentSettingData::getGatewayIPv6Address(std::string& value)
{
    value = readKey("IPV6GATEWAY", NodeLexicon::Properties::IPV6_GATEWAY);
    return true;
}

bool StaticIPAssignmentSettingData::getIPv6SubnetPrefixLength(unsigned short& value)
{
    if (const IfcfgReading* reading = readIfcfg()) {
        if (reading->exists) {
            std::string text;
            if (!reading->readable || !reading->file.getValue("PREFIX", text))
                text.clear();
            value = static_cast<unsigned short>(decimalValue(text) & 0xFFFFu);
            return true;
        }
    }
    unsigned int number = 0;
    if (!cursor.getProperty(NodeLexicon::Properties::PREFIX_LENGTH, number))
        number = 0;
    value = static_cast<unsigned short>(number & 0xFFFFu);
    return true;
}

bool StaticIPAssignmentSettingData::getPrefixLength(unsigned int& value)
{
    unsigned int number = 0;
    if (!cursor.getProperty(NodeLexicon::Properties::PREFIX_LENGTH, number))
        return false;
    value = number;
    return true;
}

bool StaticIPAssignmentSettingData::getIPv6AddressType(unsigned short& value)
{
    unsigned int number = 0;
    if (cursor.getProperty(NodeLexicon::Properties::IPV6_ADDRESS_TYPE, number)) {
        value = static_cast<unsigned short>(number & 0xFFFFu);
        return true;
    }
    unsigned int version = 0;
    if (!cursor.getProperty(NodeLexicon::Properties::IP_VERSION, version))
        version = 0;
    value = version == 4 ? 1 : (version == 6 ? 2 : 0);
    return true;
}

StaticIPAssignmentSettingData::WriteResult
StaticIPAssignmentSettingData::setValues(const std::vector<std::pair<std::string, std::string>>& values)
{
    for (const auto& entry : values) {
        if (!IfcfgFile::isUsableKey(entry.first) || !IfcfgFile::isUsableValue(entry.second))
            return WRITE_BAD_VALUE;
    }
    std::string path;
    if (!getIfcfgPath(path))
        return WRITE_BAD_FILE_NAME;
    if (owner.isServiceProcessor(cursor)) {
        const std::string folder = path.substr(0, path.rfind('/'));
        if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
            return WRITE_FAILED;
    }
    // Whatever the outcome, the next read takes the file as it is then.
    readings.erase(path);
    folders.erase(path.substr(0, path.rfind('/') + 1));
    nodeReadingKnown = false;
    switch (IfcfgFile::update(path, values)) {
    case IfcfgFile::RESULT_OK: return WRITE_OK;
    case IfcfgFile::RESULT_BAD_VALUE: return WRITE_BAD_VALUE;
    case IfcfgFile::RESULT_LINK: return WRITE_LINK;
    default: return WRITE_FAILED;
    }
}

bool StaticIPAssignmentSettingData::setIPv4Address(std::string value)
{
    return setValues({{"IPV4ADDR", value}}) == WRITE_OK;
}

bool StaticIPAssignmentSettingData::setSubnetMask(std::string value)
{
    return setValues({{"NETMASK", value}}) == WRITE_OK;
}

bool StaticIPAssignmentSettingData::setGatewayIPv4Address(std::string value)
{
    return setValues({{"GATEWAY", value}}) == WRITE_OK;
}

bool StaticIPAssignmentSettingData::setIPv6Address(std::string value)
{
    return setValues({{"IPV6ADDR", value}}) == WRITE_OK;
}

bool StaticIPAssignmentSettingData::setGatewayIPv6Address(std::string value)
{
    return setValues({{"IPV6GATEWAY", value}}) == WRITE_OK;
}

bool StaticIPAssignmentSettingData::setIPv6SubnetPrefixLength(unsigned short value)
{
    return setValues({{"PREFIX", std::to_string(value)}}) == WRITE_OK;
}

} // namespace IPInterfaceProvider
} // namespace Korvu
