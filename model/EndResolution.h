#ifndef KORVU_IPIF_ENDRESOLUTION_H
#define KORVU_IPIF_ENDRESOLUTION_H

#include <cstddef>
#include <string>
#include <vector>

#include "Instrumentation.h"
#include "Moniker.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Pieces shared by the association end resolvers: key lookup in a moniker,
// bounds-checked token access and the computer-system walk. They write no
// trace lines; the resolvers that call them do.
class EndResolution {
public:
    // First key of that exact name; false (value untouched) when absent.
    static bool findFirst(Moniker& moniker, const std::string& name, std::string& value);
    // Every key of that exact name, the last one winning; false when absent.
    static bool findLast(Moniker& moniker, const std::string& name, std::string& value);

    static std::vector<std::string> split(const std::string& text, const char* delimiters);
    // False for an index beyond the list, so a short list never matches.
    static bool tokenIs(const std::vector<std::string>& tokens, std::size_t index,
                        const std::string& value);

    // Splits at the last ':'; without one, both parts are the whole text.
    static void cutAtLastColon(const std::string& text, std::string& prefix, std::string& suffix);

    // A whole decimal number; 0 for anything else, so a malformed origin
    // never counts as static or DHCP.
    static unsigned long decimal(const std::string& text);

    // The computer-system lookup by "SystemName": positions `cursor` on the
    // computer node of that name and returns the name. Throws
    // FrameworkException when the key is missing and InstrumentationException
    // when no computer node carries the name or a node before it has none.
    static std::string computerSystemName(Instrumentation& cursor, Moniker& given);

    static const char* const hostClass;             // "Tavrix_ComputerSystem"
    static const char* const serviceProcessorClass; // "Tavrix_SPComputerSystem"
    static const char* const endpointClass;         // "Tavrix_IPProtocolEndpoint"
    static const char* const noMatchInComputer;     // shared not-found text
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
