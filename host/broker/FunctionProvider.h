#ifndef CIMHOST_FUNCTIONPROVIDER_H
#define CIMHOST_FUNCTIONPROVIDER_H

#include <cmpidt.h>
#include <cmpift.h>

#include <functional>

namespace cimhost {

// An in-process provider whose requests are answered by the functions set
// on it; a request without a function answers CMPI_RC_ERR_NOT_SUPPORTED.
class FunctionProvider {
public:
    using Instances = std::function<CMPIStatus(const CMPIContext*, const CMPIResult*,
                                               const CMPIObjectPath*, const char** properties)>;
    using Names = std::function<CMPIStatus(const CMPIContext*, const CMPIResult*, const CMPIObjectPath*)>;
    using Associators = std::function<CMPIStatus(
        const CMPIContext*, const CMPIResult*, const CMPIObjectPath*, const char* assocClass,
        const char* resultClass, const char* role, const char* resultRole, const char** properties)>;
    using References = std::function<CMPIStatus(const CMPIContext*, const CMPIResult*,
                                                const CMPIObjectPath*, const char* resultClass,
                                                const char* role, const char** properties)>;
    using Method = std::function<CMPIStatus(const CMPIContext*, const CMPIResult*, const CMPIObjectPath*,
                                            const char* method, const CMPIArgs* in, CMPIArgs* out)>;

    FunctionProvider();
    FunctionProvider(const FunctionProvider&) = delete;
    FunctionProvider& operator=(const FunctionProvider&) = delete;

    Names enumerateInstanceNames;
    Instances enumerateInstances;
    Instances getInstance;
    Associators associators;
    Associators associatorNames;  // properties are null
    References references;
    References referenceNames;    // properties are null
    Method invokeMethod;

    CMPIInstanceMI* instanceMI() { return &instanceRecord; }
    CMPIAssociationMI* associationMI() { return &associationRecord; }
    CMPIMethodMI* methodMI() { return &methodRecord; }

private:
    CMPIInstanceMIFT instanceTable;
    CMPIAssociationMIFT associationTable;
    CMPIMethodMIFT methodTable;
    CMPIInstanceMI instanceRecord;
    CMPIAssociationMI associationRecord;
    CMPIMethodMI methodRecord;
};

} // namespace cimhost

#endif
