#include <vector>

#include "Moniker.h"

// Peers built against the module resolve these members from it; this unit is
// compiled with default visibility for that reason.
template class std::vector<Korvu::Moniker::KeyComponent>;
