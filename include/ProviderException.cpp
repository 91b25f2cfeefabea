#include "ProviderException.h"

namespace Korvu {

// A null text would be undefined for std::string; treat it as empty.
ProviderException::ProviderException(const char* text) : std::exception(), message(text ? text : "") {}

ProviderException::ProviderException(const std::string& text) : std::exception(), message(text) {}
ProviderException::ProviderException(std::string& text) : std::exception(), message(text) {}

ProviderException::ProviderException(const ProviderException& other) : std::exception(other), message(other.message) {}

ProviderException& ProviderException::operator=(const ProviderException& other)
{
    std::exception::operator=(other);
    message = other.message;
    return *this;
}

ProviderException::~ProviderException() {}

const char* ProviderException::what() const noexcept { return message.c_str(); }

} // namespace Korvu
