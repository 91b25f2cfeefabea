#include "InstrumentationException.h"

namespace Korvu {

// A null text would be undefined for std::string; treat it as empty.
InstrumentationException::InstrumentationException(const char* text) : std::exception(), message(text ? text : "") {}

InstrumentationException::InstrumentationException(const std::string& text) : std::exception(), message(text) {}
InstrumentationException::InstrumentationException(std::string& text) : std::exception(), message(text) {}

InstrumentationException::InstrumentationException(const InstrumentationException& other) : std::exception(other), message(other.message) {}

InstrumentationException& InstrumentationException::operator=(const InstrumentationException& other)
{
    std::exception::operator=(other);
    message = other.message;
    return *this;
}

InstrumentationException::~InstrumentationException() {}

const char* InstrumentationException::what() const noexcept { return message.c_str(); }

} // namespace Korvu
