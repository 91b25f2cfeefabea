#ifndef KORVU_IPIF_CONFIGURATIONTHREAD_H
#define KORVU_IPIF_CONFIGURATIONTHREAD_H

#include <string>

#include "IP_CONFIG_DATA.h"

namespace Korvu {
namespace IPInterfaceProvider {

// Thread procedure: writes the record's values into every IP interface node
// of the endpoint's interface, asks the agent to restart when an address or
// the host name changed, then deletes the record. Its argument is an
// IP_CONFIG_DATA* that it owns; null does nothing. Throws nothing. The
// text of the failure is left in `error` when it is given; empty when the
// configuration was applied.
void IPConfigurationThread(void* record, std::string* error = nullptr);

// Runs configurations on detached threads, at most one thread per
// interface (system and interface name): a configuration of an interface
// whose thread is busy waits in that interface's queue, and a full queue
// refuses it. The threads record their progress in ConcreteJob.
class ConfigurationThread {
public:
    enum Outcome {
        ACCEPTED,     // running or queued; the record belongs to the thread
        QUEUE_FULL,   // the interface has maxWaiting configurations waiting
        NOT_STARTED   // no thread could be started, or starts are refused
    };

    // Configurations that may wait behind the running one of an interface.
    static const unsigned int maxWaiting = 4;

    // Takes the record in every case; it is deleted unless ACCEPTED.
    // Never throws; a null record gives NOT_STARTED.
    static Outcome start(IP_CONFIG_DATA* record);

    // Configuration threads started and not yet ended.
    static unsigned int running();
    // Configuration threads started since the module was loaded.
    static unsigned long started();

    // Waits until no configuration thread runs and none waits, at most
    // `milliseconds`; true when none does. Must not be called from a
    // configuration thread.
    static bool waitUntilIdle(unsigned int milliseconds);

    // Lets start() refuse every thread while set, so that the failure path
    // of callers can be exercised.
    static void refuseStarts(bool refuse);
};

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
