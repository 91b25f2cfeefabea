#include "FrameworkException.h"

namespace Korvu {

// A null text would be undefined for std::string; treat it as empty.
FrameworkException::FrameworkException(const char* text) : std::exception(), message(text ? text : "") {}

FrameworkException::FrameworkException(const std::string& text) : std::exception(), message(text) {}
FrameworkException::FrameworkException(std::string& text) : std::exception(), message(text) {}

FrameworkException::FrameworkException(const FrameworkException& other) : std::exception(other), message(other.message) {}

FrameworkException& FrameworkException::operator=(const FrameworkException& other)
{
    std::exception::operator=(other);
    message = other.message;
    return *this;
}

FrameworkException::~FrameworkException() {}

const char* FrameworkException::what() const noexcept { return message.c_str(); }

} // namespace Korvu
