#ifndef KORVU_MONIKER_H
#define KORVU_MONIKER_H

#include <string>
#include <vector>

namespace Korvu {

// Names one instance apart from CMPI: an ordered list of key name/value
// pairs with one selected key. Copying may throw std::bad_alloc.
class Moniker {
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

} // namespace Korvu

#endif
