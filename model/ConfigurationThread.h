#ifndef KORVU_IPIF_CONFIGURATIONTHREAD_H
#define KORVU_IPIF_CONFIGURATIONTHREAD_H

#include "IP_CONFIG_DATA.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Thread procedure: writes the record's values into every IP interface node
// of the endpoint's interface, asks the agent to restart when an address or
// the host name changed, then deletes the record. Its argument is an
// IP_CONFIG_DATA* that it owns; null does nothing. Throws nothing.
void IPConfigurationThread(void* record);

// Starts and counts the detached configuration threads. No request waits
// for them; the count lets tests and an orderly host shutdown do so.
class ConfigurationThread {
public:
    // Hands the record to a new detached thread running
    // IPConfigurationThread. False when no thread could be started: the
    // record has then been deleted. Never throws; a null record gives false.
    static bool start(IP_CONFIG_DATA* record);

    // Configuration threads started and not yet ended.
    static unsigned int running();
    // Configuration threads started since the module was loaded.
    static unsigned long started();

    // Waits until no configuration thread runs, at most `milliseconds`;
    // true when none runs. Must not be called from a request.
    static bool waitUntilIdle(unsigned int milliseconds);

    // Lets start() refuse every thread while set, so that the failure path
    // of callers can be exercised.
    static void refuseStarts(bool refuse);
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
