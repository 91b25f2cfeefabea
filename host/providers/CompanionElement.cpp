#include "CompanionElement.h"

#include <cmpimacs.h>

#include <strings.h>

#include "ProviderUtilities.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

CompanionElement::CompanionElement(const char* className) : className(className) {}

std::string CompanionElement::valueOf(const std::string& name) const
{
    for (const Key& k : keys)
        if (name == k.name)
            return k.value;
    for (const Property& p : properties)
        if (p.kind == Property::TEXT && name == p.name)
            return p.text;
    return std::string();
}

CompanionElement::Property& CompanionElement::append(const char* name, Property::Kind kind)
{
    Property& p = properties.emplace_back();
    p.name = name;
    p.kind = kind;
    return p;
}

void CompanionElement::addKey(const char* name, std::string value, KeyMatch match)
{
    keys.push_back(Key{name, std::move(value), match});
}

void CompanionElement::addText(const char* name, std::string value)
{
    append(name, Property::TEXT).text = std::move(value);
}

void CompanionElement::addNumber(const char* name, unsigned short value)
{
    append(name, Property::UINT16).number = value;
}

void CompanionElement::addFlag(const char* name, bool value)
{
    append(name, Property::BOOLEAN).flag = value;
}

void CompanionElement::addTexts(const char* name, std::vector<std::string> values)
{
    append(name, Property::TEXT_LIST).texts = std::move(values);
}

void CompanionElement::addNumbers(const char* name, std::vector<unsigned short> values)
{
    append(name, Property::UINT16_LIST).numbers = std::move(values);
}

bool CompanionElement::matches(const CMPIObjectPath* path) const
{
    if (!path)
        return false;
    for (const Key& key : keys) {
        if (key.match == IGNORED)
            continue;
        std::string given;
        const bool present = ProviderUtilities::getKeyProperty(path, key.name, given);
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
    CMPIObjectPath* path = ProviderUtilities::createObjectPath(broker, className, nameSpace);
    if (!path)
        return nullptr;
    for (const Key& key : keys)
        ProviderUtilities::setKeyProperty(path, key.name, key.value);
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
            keyNames.push_back(key.name);
        keyNames.push_back(nullptr);
        CMSetPropertyFilter(inst, propertyList, keyNames.data());
    }
    // The setters take non-const values: texts go through one copy whose
    // room is kept.
    std::string text;
    for (const Key& key : keys) {
        text = key.value;
        ProviderUtilities::setProperty(inst, key.name, text);
    }
    for (const Property& p : properties) {
        switch (p.kind) {
        case Property::TEXT:
            text = p.text;
            ProviderUtilities::setProperty(inst, p.name, text);
            break;
        case Property::UINT16:
            ProviderUtilities::setProperty(inst, p.name, p.number);
            break;
        case Property::BOOLEAN:
            ProviderUtilities::setProperty(inst, p.name, p.flag);
            break;
        case Property::TEXT_LIST: {
            std::vector<std::string> texts = p.texts;
            ProviderUtilities::setProperty(broker, inst, p.name, texts);
            break;
        }
        case Property::UINT16_LIST: {
            std::vector<unsigned short> numbers = p.numbers;
            ProviderUtilities::setProperty(broker, inst, p.name, numbers);
            break;
        }
        }
    }
    return inst;
}

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu
