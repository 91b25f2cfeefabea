#include "EndResolution.h"

#include "FrameworkException.h"
#include "InstrumentationException.h"
#include "NodeLexicon.h"
#include "Tokenize.h"

namespace Korvu {
namespace IPInterfaceProvider {

const char* const EndResolution::hostClass = "Tavrix_ComputerSystem";
const char* const EndResolution::serviceProcessorClass = "Tavrix_SPComputerSystem";
const char* const EndResolution::endpointClass = "Tavrix_IPProtocolEndpoint";
const char* const EndResolution::noMatchInComputer =
    "Could not match 'System Name' key with 'Name' key in Computer Moniker";

bool EndResolution::findFirst(Moniker& moniker, const std::string& name, std::string& value)
{
    const unsigned int count = moniker.getKeyCount();
    for (unsigned int index = 0; index < count; ++index) {
        std::string keyName;
        if (moniker.selectKey(index) && moniker.getName(keyName) && keyName == name)
            return moniker.getValue(value);
    }
    return false;
}

bool EndResolution::findLast(Moniker& moniker, const std::string& name, std::string& value)
{
    bool found = false;
    const unsigned int count = moniker.getKeyCount();
    for (unsigned int index = 0; index < count; ++index) {
        std::string keyName;
        std::string keyValue;
        if (moniker.selectKey(index) && moniker.getName(keyName) && keyName == name &&
            moniker.getValue(keyValue)) {
            value = keyValue;
            found = true;
        }
    }
    return found;
}

std::vector<std::string> EndResolution::split(const std::string& text, const char* delimiters)
{
    std::vector<std::string> tokens;
    tokenize(text, tokens, delimiters);
    return tokens;
}

bool EndResolution::tokenIs(const std::vector<std::string>& tokens, std::size_t index,
                            const std::string& value)
{
    return index < tokens.size() && tokens[index] == value;
}

void EndResolution::cutAtLastColon(const std::string& text, std::string& prefix,
                                   std::string& suffix)
{
    const std::string::size_type colon = text.rfind(':');
    if (colon == std::string::npos) {
        prefix = text;
        suffix = text;
        return;
    }
    prefix = text.substr(0, colon);
    suffix = text.substr(colon + 1);
}

unsigned long EndResolution::decimal(const std::string& text)
{
    if (text.empty() || text.size() > 9)
        return 0;
    unsigned long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    return value;
}

std::string EndResolution::computerSystemName(Instrumentation& cursor, Moniker& given)
{
    std::string systemName;
    if (!findFirst(given, "SystemName", systemName))
        throw FrameworkException("Could not find 'System Name' Key in Moniker");
    cursor.selectNode(NodeLexicon::COMPUTER_SYSTEM);
    for (; cursor; ++cursor) {
        std::string name;
        // A nameless computer ends the search: the store is not what the
        // association expects, and guessing past it could pick a wrong one.
        if (!cursor.getProperty(NodeLexicon::NAME, name))
            throw InstrumentationException("Name Property on computer not available.");
        if (name == systemName)
            return systemName;
    }
    throw InstrumentationException("Concerned Computer Could Not Be Found.");
}

} // namespace IPInterfaceProvider
} // namespace Korvu
