#ifndef CIMHOST_STATICINSTANCEPROVIDER_H
#define CIMHOST_STATICINSTANCEPROVIDER_H

#include <cmpidt.h>
#include <cmpift.h>

#include <mutex>
#include <vector>

#include "Value.h"

namespace cimhost {

// An in-process instance provider that serves a list of instances:
// enumeration (of the path's class and, through the broker's class
// registry, its subclasses), get by all keys (CMPI_RC_ERR_NOT_FOUND when
// none match) and modification of the stored non-key properties. Property
// lists filter what it returns. Create, delete and queries answer
// CMPI_RC_ERR_NOT_SUPPORTED. Safe on any thread; nothing throws except
// std::bad_alloc.
class StaticInstanceProvider {
public:
    StaticInstanceProvider();
    StaticInstanceProvider(const StaticInstanceProvider&) = delete;
    StaticInstanceProvider& operator=(const StaticInstanceProvider&) = delete;

    void add(const InstanceSpec& instance);
    void clear();
    std::vector<InstanceSpec> instances() const;
    CMPIInstanceMI* mi() { return &record; }

    // How often each request kind reached the provider.
    int requests() const;

private:
    static StaticInstanceProvider* self(CMPIInstanceMI* mi);
    static CMPIStatus cleanup(CMPIInstanceMI*, const CMPIContext*, CMPIBoolean);
    static CMPIStatus enumNames(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*, const CMPIObjectPath*);
    static CMPIStatus enumInstances(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                                    const CMPIObjectPath*, const char**);
    static CMPIStatus get(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*, const CMPIObjectPath*,
                          const char**);
    static CMPIStatus create(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                             const CMPIObjectPath*, const CMPIInstance*);
    static CMPIStatus modify(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*,
                             const CMPIObjectPath*, const CMPIInstance*, const char**);
    static CMPIStatus remove(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*, const CMPIObjectPath*);
    static CMPIStatus query(CMPIInstanceMI*, const CMPIContext*, const CMPIResult*, const CMPIObjectPath*,
                            const char*, const char*);
    // Instances of the path's class (or all when it names none) whose keys
    // equal every key the path carries.
    std::vector<InstanceSpec> matching(const CMPIObjectPath* op) const;
    // Calls take(instance) for each of them, under the lock.
    template <class Take> void forMatching(const CMPIObjectPath* op, Take take) const;
    // Whether the path carries exactly the instance's keys.
    static bool names(const CMPIObjectPath* op, const InstanceSpec& inst);

    CMPIInstanceMIFT table;
    CMPIInstanceMI record;
    mutable std::mutex mutex;
    std::vector<InstanceSpec> stored;
    int calls = 0;
};

} // namespace cimhost

#endif
