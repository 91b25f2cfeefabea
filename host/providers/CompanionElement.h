#ifndef KORVU_IPIF_COMPANION_COMPANIONELEMENT_H
#define KORVU_IPIF_COMPANION_COMPANIONELEMENT_H

#include <string>
#include <vector>

#include <cmpidt.h>
#include <cmpift.h>

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

// One instance of a companion class, computed from the node store before it
// is turned into CMPI objects: its class, keys and properties. A plain
// value; nothing here throws except std::bad_alloc.
class CompanionElement {
public:
    // How a request path's key is compared with this element's.
    enum KeyMatch {
        EXACT,       // the path must carry the key with the same text
        CLASS_NAME,  // compared without regard to case; may be left out
        IGNORED      // never compared
    };

    struct Key {
        std::string name;
        std::string value;
        KeyMatch match;
    };

    struct Property {
        enum Kind { TEXT, UINT16, BOOLEAN, TEXT_LIST, UINT16_LIST };
        std::string name;
        Kind kind;
        std::string text;
        unsigned short number;
        bool flag;
        std::vector<std::string> texts;
        std::vector<unsigned short> numbers;
    };

    explicit CompanionElement(const std::string& className);

    const std::string& getClassName() const { return className; }
    const std::vector<Key>& getKeys() const { return keys; }
    // Text of a key or a text property; empty when there is none.
    std::string valueOf(const std::string& name) const;
    // One text per (Name, SystemName) pair, for hash lookups; the length
    // keeps pairs apart whatever characters the names hold.
    static std::string nameKey(const std::string& name, const std::string& systemName)
    {
        return std::to_string(name.size()) + ':' + name + systemName;
    }

    void addKey(const std::string& name, const std::string& value, KeyMatch match = EXACT);
    // Adding a key also adds it as a property, as CIM instances carry them.
    void addText(const std::string& name, const std::string& value);
    void addNumber(const std::string& name, unsigned short value);
    void addFlag(const std::string& name, bool value);
    void addTexts(const std::string& name, const std::vector<std::string>& values);
    void addNumbers(const std::string& name, const std::vector<unsigned short>& values);

    // Whether the keys of `path` name this element (class name aside).
    bool matches(const CMPIObjectPath* path) const;

    // Null when the broker cannot make the object. Both belong to the broker.
    CMPIObjectPath* toObjectPath(const CMPIBroker* broker, const std::string& nameSpace) const;
    CMPIInstance* toInstance(const CMPIBroker* broker, const std::string& nameSpace,
                             const char** properties) const;

private:
    Property& append(const std::string& name, Property::Kind kind);

    std::string className;
    std::vector<Key> keys;
    std::vector<Property> properties;
};

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
