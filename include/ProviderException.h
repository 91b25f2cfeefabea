#ifndef KORVU_PROVIDEREXCEPTION_H
#define KORVU_PROVIDEREXCEPTION_H

#include <exception>
#include <string>

#include "Export.h"

namespace Korvu {

// Thrown inside the module and caught by the request functions, which turn
// it into a status or an ERROR log line. Copying may throw std::bad_alloc.
class IPIF_EXPORT ProviderException : public std::exception {
public:
    explicit ProviderException(const char* message);
    explicit ProviderException(const std::string& message);
    // The form peers built against the module link against.
    explicit ProviderException(std::string& message);
    ProviderException(const ProviderException& other);
    ProviderException& operator=(const ProviderException& other);
    virtual ~ProviderException();

    const char* what() const noexcept override;

private:
    std::string message;
};

} // namespace Korvu

#endif
