#ifndef KORVU_IPIF_MADEKEYS_H
#define KORVU_IPIF_MADEKEYS_H

#include <cmpidt.h>
#include <cmpift.h>
#include <cmpimacs.h>
#include <strings.h>

#include <string>

namespace Korvu {
namespace IPInterfaceProvider {

// The string keys a class put on the path it made last, in the order the
// path holds them. Listing a whole end hands them on with the path: reading
// each key back through the broker cost a sixth of a large association's
// enumeration. The texts keep their room from one path to the next.
class MadeKeys {
public:
    static constexpr unsigned most = 4;

    // A path begins: no key is made yet.
    void clear()
    {
        count = 0;
        overflowed = false;
    }
    // Where the next key's text is written before `set` puts it on the path.
    std::string& next() { return count < most ? texts[count] : spare; }
    // Puts the text `next` holds on `path` as key `name` (a literal). It is
    // kept only when the broker took it, so the kept keys are the path's.
    void set(CMPIObjectPath* path, const char* name)
    {
        if (!path || !name)
            return;
        const bool room = count < most;
        if (CMAddKey(path, name, next().c_str(), CMPI_chars).rc != CMPI_RC_OK)
            return;
        if (!room) {
            overflowed = true;
            return;
        }
        names[count++] = name;
    }

    // False when the path holds a key that is not kept here: its keys must
    // then be read from the path.
    bool whole() const { return !overflowed; }
    unsigned size() const { return count; }
    const std::string& text(unsigned i) const { return texts[i]; }
    // The text of key `name` (ASCII case ignored, as the broker finds keys);
    // null when no such key was made.
    const std::string* find(const char* name) const
    {
        // Callers name keys with the same literals the classes set them by.
        for (unsigned i = 0; i < count; ++i)
            if (names[i] == name)
                return &texts[i];
        for (unsigned i = 0; i < count; ++i)
            if (strcasecmp(names[i], name) == 0)
                return &texts[i];
        return nullptr;
    }

private:
    const char* names[most] = {};
    std::string texts[most];
    std::string spare;
    unsigned count = 0;
    bool overflowed = false;
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
