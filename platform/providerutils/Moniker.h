#ifndef KORVU_MONIKER_H
#define KORVU_MONIKER_H

#include <string>
#include <vector>

namespace Korvu {

// Names one instance apart from CMPI: an ordered list of key name/value
// pairs with one selected key. Copying may throw std::bad_alloc.
// Visible from every library built on it: a provider module carries and
// exports the copy operations and the key vector's members for its peers.
class __attribute__((visibility("default"))) Moniker {
public:
    struct KeyComponent {
        unsigned int flags = 0;
        std::string name;
        std::string value;
    };

    Moniker();
    Moniker(const Moniker& other);
    Moniker& operator=(const Moniker& other);
    ~Moniker();

    // Appends a key; returns the new key count.
    unsigned short addKey(std::string name, const std::string& value);
    unsigned int getKeyCount() const;
    // Selects by 0-based index; false (selection unchanged) when out of range.
    bool selectKey(unsigned int index);
    // Of the selected key; false when no key is selected.
    bool getName(std::string& name) const;
    bool getValue(std::string& value) const;

    // Looks a key up by exact name and selects it.
    bool findKey(const std::string& name, std::string& value);

private:
    std::vector<KeyComponent> keys;
    unsigned int selected;
};

// Inline and always emitted, so that each library that uses monikers holds
// its own copy operations.
__attribute__((used)) inline Moniker::Moniker(const Moniker& other) = default;
__attribute__((used)) inline Moniker& Moniker::operator=(const Moniker& other) = default;

} // namespace Korvu

#endif
