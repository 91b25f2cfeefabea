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

    // Names are the classes' own literals: a request builds thousands of
    // elements, and a name of its own for each property cost more than the
    // rest of the element.
    struct Key {
        const char* name;
        std::string value;
        KeyMatch match;
    };

    struct Property {
        enum Kind { TEXT, UINT16, BOOLEAN, TEXT_LIST, UINT16_LIST };
        const char* name;
        Kind kind;
        std::string text;
        unsigned short number = 0;
        bool flag = false;
        std::vector<std::string> texts;
        std::vector<unsigned short> numbers;
    };

    explicit CompanionElement(const char* className);

    const char* getClassName() const { return className; }
    const std::vector<Key>& getKeys() const { return keys; }
    // Text of a key or a text property; empty when there is none.
    std::string valueOf(const std::string& name) const;
    // One text per (Name, SystemName) pair, for hash lookups; the length
    // keeps pairs apart whatever characters the names hold.
    static std::string nameKey(const std::string& name, const std::string& systemName)
    {
        return std::to_string(name.size()) + ':' + name + systemName;
    }

    // An instance carries its keys as its first properties, in this order.
    void addKey(const char* name, std::string value, KeyMatch match = EXACT);
    void addText(const char* name, std::string value);
    void addNumber(const char* name, unsigned short value);
    void addFlag(const char* name, bool value);
    void addTexts(const char* name, std::vector<std::string> values);
    void addNumbers(const char* name, std::vector<unsigned short> values);

    // Whether the keys of `path` name this element (class name aside).
    bool matches(const CMPIObjectPath* path) const;

    // Null when the broker cannot make the object. Both belong to the broker.
    CMPIObjectPath* toObjectPath(const CMPIBroker* broker, const std::string& nameSpace) const;
    CMPIInstance* toInstance(const CMPIBroker* broker, const std::string& nameSpace,
                             const char** properties) const;

private:
    Property& append(const char* name, Property::Kind kind);

    const char* className;
    std::vector<Key> keys;
    std::vector<Property> properties;
};

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
