#include "Tokenize.h"

namespace Korvu {
namespace IPInterfaceProvider {

void tokenize(const std::string& text, std::vector<std::string>& tokens,
              const std::string& delimiters)
{
    std::string::size_type start = text.find_first_not_of(delimiters);
    while (start != std::string::npos) {
        std::string::size_type end = text.find_first_of(delimiters, start);
        if (end == std::string::npos) {
            tokens.push_back(text.substr(start));
            return;
        }
        tokens.push_back(text.substr(start, end - start));
        start = text.find_first_not_of(delimiters, end);
    }
}

} // namespace IPInterfaceProvider
} // namespace Korvu
