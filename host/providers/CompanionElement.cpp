#include "CompanionElement.h"

#include <cmpimacs.h>

#include <strings.h>

#include "ProviderUtilities.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

CompanionElement::CompanionElement(const std::string& className) : className(className) {}

std::string CompanionElement::valueOf(const std::string& name) const
{
    for (const Property& p : properties)
        if (p.name == name && p.kind == Property::TEXT)
            return p.text;
    return std::string();
}

CompanionElement::Property& CompanionElement::append(const std::string& name, Property::Kind kind)
{
    Property p;
    p.name = name;
    p.kind = kind;
    p.number = 0;
    p.flag = false;
    properties.push_back(p);
    return properties.back();
}

void CompanionElement::addKey(const std::string& name, const std::string& value, KeyMatch match)
{
    keys.push_back(Key{name, value, match});
    addText(name, value);
}

void CompanionElement::addText(const std::string& name, const std::string& value)
{
    append(name, Property::TEXT).text = value;
}

void CompanionElement::addNumber(const std::string& name, unsigned short value)
{
    append(name, Property::UINT16).number = value;
}

void CompanionElement::addFlag(const std::string& name, bool value)
{
    append(name, Property::BOOLEAN).flag = value;
}

void CompanionElement::addTexts(const std::string& name, const std::vector<std::string>& values)
{
    append(name, Property::TEXT_LIST).texts = values;
}

void CompanionElement::addNumbers(const std::string& name, const std::vector<unsigned short>& values)
{
    append(name, Property::UINT16_LIST).numbers = values;
}

bool CompanionElement::matches(const CMPIObjectPath* path) const
{
    if (!path)
        return false;
    for (const Key& key : keys) {
        if (key.match == IGNORED)
            continue;
        std::string given;
        const bool present = ProviderUtilities::getKeyProperty(path, key.name.c_str(), given);
        if (key.match == CLASS_NAME) {
            if (present && strcasecmp(given.c_str(), key.value.c_str()) != 0)
                return false;
        } else if (!present || given != key.value) {
            return false;
        }
    }
    return true;
}

CMPIObjectPath* CompanionElement::toObjectPath(const CMPIBroker* broker, const std::string& nameSpace) const
{
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, className.c_str(), nameSpace);
    if (!path)
        return nullptr;
    for (const Key& key : keys)
        ProviderUtilities::setKeyProperty(path, key.name.c_str(), key.value);
    return path;
}

CMPIInstance* CompanionElement::toInstance(const CMPIBroker* broker, const std::string& nameSpace,
                                           const char** propertyList) const
{
    CMPIObjectPath* path = toObjectPath(broker, nameSpace);
    CMPIInstance* inst = path ? ProviderUtilities::createInstance(broker, path) : nullptr;
    if (!inst)
        return nullptr;
    if (propertyList) {
        // Keys stay whatever the client asked for.
        std::vector<const char*> keyNames;
        for (const Key& key : keys)
            keyNames.push_back(key.name.c_str());
        keyNames.push_back(nullptr);
        CMSetPropertyFilter(inst, propertyList, keyNames.data());
    }
    for (const Property& p : properties) {
        // The setters take non-const values.
        Property value = p;
        switch (p.kind) {
        case Property::TEXT:
            ProviderUtilities::setProperty(inst, p.name.c_str(), value.text);
            break;
        case Property::UINT16:
            ProviderUtilities::setProperty(inst, p.name.c_str(), p.number);
            break;
        case Property::BOOLEAN:
            ProviderUtilities::setProperty(inst, p.name.c_str(), p.flag);
            break;
        case Property::TEXT_LIST:
            ProviderUtilities::setProperty(broker, inst, p.name.c_str(), value.texts);
            break;
        case Property::UINT16_LIST:
            ProviderUtilities::setProperty(broker, inst, p.name.c_str(), value.numbers);
            break;
        }
    }
    return inst;
}

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu
