#ifndef KORVU_FRAMEWORKEXCEPTION_H
#define KORVU_FRAMEWORKEXCEPTION_H

#include <exception>
#include <string>

#include "Export.h"

namespace Korvu {

// Thrown inside the module and caught by the request functions, which turn
// it into a status or an ERROR log line. Copying may throw std::bad_alloc.
class IPIF_EXPORT FrameworkException : public std::exception {
public:
    explicit FrameworkException(const char* message);
    explicit FrameworkException(const std::string& message);
    // The form peers built against the module link against.
    explicit FrameworkException(std::string& message);
    FrameworkException(const FrameworkException& other);
    FrameworkException& operator=(const FrameworkException& other);
    virtual ~FrameworkException();

    const char* what() const noexcept override;

private:
    std::string message;
};

} // namespace Korvu

#endif
