#include <vector>

#include "Moniker.h"

// Peers built against the module resolve these members from it; the
// module's export list lets them through.
template class std::vector<Korvu::Moniker::KeyComponent>;
