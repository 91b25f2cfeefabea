#ifndef FRAME_FAKECLASSES_H
#define FRAME_FAKECLASSES_H

// Stand-in CIM classes that let the frame be driven through every branch:
// a configurable number of elements, an exception at a chosen element, a
// method that throws or answers.
#include <cmpidt.h>
#include <cmpift.h>

#include <string>

namespace fake {

struct Behaviour {
    int elements = 0;
    int throwAt = -1;           // element index whose result call throws
    bool throwInMethod = false;
    CMPIUint32 methodResult = 0;
    bool rejectTarget = false;  // isNotTargetClass answer
    CMPIrc modifyRc = CMPI_RC_OK;
    int modifyCalls = 0;
    int methodCalls = 0;
    static Behaviour& current();
};

class FakeClass {
public:
    // The association classes also take what an Associators request wants.
    FakeClass(const CMPIBroker* broker, const CMPIContext* context, const CMPIObjectPath* path,
              bool wholeFarEnds = false, const char** properties = nullptr);
    ~FakeClass();
    operator bool() const;
    FakeClass& operator++();
    CMPIObjectPath* getObjectPath();
    CMPIInstance* getCMPIInstance(const char** properties);
    CMPIInstance* getAssociator(const char** properties);
    CMPIObjectPath* getAssociatorNames();
    bool isNotTargetClass(const char* resultClass);
    CMPIStatus modifyInstance(const CMPIInstance* inst);
    int executeMethod(const CMPIArgs* in, CMPIArgs* out, CMPIStatus* status);

private:
    void maybeThrow() const;
    const CMPIBroker* broker;
    std::string nameSpace;
    std::string className;
    int index;
};

} // namespace fake

#define IPIF_INSTANCE_CLASSES(X) X(9, fake::FakeClass) X(67, fake::FakeClass) X(129, fake::FakeClass)
#define IPIF_MODIFY_CLASSES(X) X(9, fake::FakeClass)
#define IPIF_METHOD_CLASSES(X) \
    X(9, fake::FakeClass, "RequestStateChange", true) \
    X(129, fake::FakeClass, "ApplySettingToIPProtocolEndpoint", false)
#define IPIF_ASSOCIATION_CLASSES(X) X(67, fake::FakeClass)

#endif
