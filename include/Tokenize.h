#ifndef KORVU_IPIF_TOKENIZE_H
#define KORVU_IPIF_TOKENIZE_H

#include <string>
#include <vector>

namespace Korvu {
namespace IPInterfaceProvider {

// Appends the maximal runs of characters not in `delimiters` to `tokens`,
// in order. Empty tokens never appear. Throws std::bad_alloc only.
void tokenize(const std::string& text, std::vector<std::string>& tokens,
              const std::string& delimiters);

} // namespace IPInterfaceProvider
} // namespace Korvu

#endif
