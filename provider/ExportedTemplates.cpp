#include <vector>

#include "Export.h"
#include "Moniker.h"

// Peers built against the module resolve these members from it.
template class IPIF_EXPORT std::vector<Korvu::Moniker::KeyComponent>;
