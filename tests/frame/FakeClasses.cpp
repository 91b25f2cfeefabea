#include "FakeClasses.h"

#include <cmpimacs.h>

#include <stdexcept>

#include "FrameworkException.h"
#include "ProviderUtilities.h"

namespace fake {

Behaviour& Behaviour::current()
{
    static Behaviour behaviour;
    return behaviour;
}

FakeClass::FakeClass(const CMPIBroker* b, const CMPIContext*, const CMPIObjectPath* path, bool, const char**)
    : broker(b), nameSpace(Korvu::ProviderUtilities::getNamespace(path)), index(0)
{
    CMPIString* cls = CMGetClassName(path, nullptr);
    className = cls ? CMGetCharsPtr(cls, nullptr) : "";
}

FakeClass::~FakeClass() {}

FakeClass::operator bool() const { return index < Behaviour::current().elements; }

FakeClass& FakeClass::operator++()
{
    ++index;
    return *this;
}

void FakeClass::maybeThrow() const
{
    if (index == Behaviour::current().throwAt)
        throw Korvu::FrameworkException("Could not find 'Name' key in Moniker");
}

CMPIObjectPath* FakeClass::getObjectPath()
{
    maybeThrow();
    CMPIObjectPath* path =
        Korvu::ProviderUtilities::createObjectPath(broker, className.c_str(), nameSpace);
    Korvu::ProviderUtilities::setKeyProperty(path, "Name", "element" + std::to_string(index));
    return path;
}

CMPIInstance* FakeClass::getCMPIInstance(const char**)
{
    CMPIObjectPath* path = getObjectPath();
    return Korvu::ProviderUtilities::createInstance(broker, path);
}

CMPIInstance* FakeClass::getAssociator(const char** properties)
{
    return getCMPIInstance(properties);
}

CMPIObjectPath* FakeClass::getAssociatorNames() { return getObjectPath(); }

bool FakeClass::isNotTargetClass(const char*) { return Behaviour::current().rejectTarget; }

CMPIStatus FakeClass::modifyInstance(const CMPIInstance*)
{
    ++Behaviour::current().modifyCalls;
    CMPIStatus status = {Behaviour::current().modifyRc, nullptr};
    if (status.rc != CMPI_RC_OK)
        status.msg = CMNewString(broker, "store refused the value", nullptr);
    return status;
}

int FakeClass::executeMethod(const CMPIArgs*, CMPIArgs*, CMPIStatus*)
{
    ++Behaviour::current().methodCalls;
    if (Behaviour::current().throwInMethod)
        throw std::runtime_error("configuration thread could not be started");
    return static_cast<int>(Behaviour::current().methodResult);
}

} // namespace fake
