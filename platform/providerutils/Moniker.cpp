#include "Moniker.h"

namespace Korvu {

namespace {
const unsigned int noSelection = ~0u;
}

Moniker::Moniker() : selected(noSelection) {}
Moniker::~Moniker() = default;

unsigned short Moniker::addKey(std::string name, const std::string& value)
{
    KeyComponent key;
    key.name = std::move(name);
    key.value = value;
    keys.push_back(std::move(key));
    return static_cast<unsigned short>(keys.size());
}

unsigned int Moniker::getKeyCount() const { return static_cast<unsigned int>(keys.size()); }

bool Moniker::selectKey(unsigned int index)
{
    if (index >= keys.size())
        return false;
    selected = index;
    return true;
}

bool Moniker::getName(std::string& name) const
{
    if (selected >= keys.size())
        return false;
    name = keys[selected].name;
    return true;
}

bool Moniker::getValue(std::string& value) const
{
    if (selected >= keys.size())
        return false;
    value = keys[selected].value;
    return true;
}

bool Moniker::findKey(const std::string& name, std::string& value)
{
    for (unsigned int i = 0; i < keys.size(); ++i) {
        if (keys[i].name == name) {
            selected = i;
            value = keys[i].value;
            return true;
        }
    }
    return false;
}

} // namespace Korvu
