#ifndef KORVU_INSTRUMENTATIONEXCEPTION_H
#define KORVU_INSTRUMENTATIONEXCEPTION_H

#include <exception>
#include <string>

#include "Export.h"

namespace Korvu {

// Thrown inside the module and caught by the request functions, which turn
// it into a status or an ERROR log line. Copying may throw std::bad_alloc.
class IPIF_EXPORT InstrumentationException : public std::exception {
public:
    explicit InstrumentationException(const char* message);
    explicit InstrumentationException(const std::string& message);
    // The form peers built against the module link against.
    explicit InstrumentationException(std::string& message);
    InstrumentationException(const InstrumentationException& other);
    InstrumentationException& operator=(const InstrumentationException& other);
    virtual ~InstrumentationException();

    const char* what() const noexcept override;

private:
    std::string message;
};

} // namespace Korvu

#endif
