// Request memory: what a request's objects hold comes from the request's
// buffer and goes back with it at once; early release still destroys.
#include <gtest/gtest.h>

#include <cmpimacs.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "Arena.h"
#include "Broker.h"
#include "Request.h"

namespace {
std::atomic<long> heapAllocations{0};
std::atomic<long> heapFrees{0};
}

void* operator new(std::size_t bytes)
{
    ++heapAllocations;
    if (void* p = std::malloc(bytes ? bytes : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    if (p)
        ++heapFrees;
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

using cimhost::Arena;
using cimhost::Broker;
using cimhost::Request;

namespace {

struct Tracked : cimhost::Releasable {
    explicit Tracked(int* destroyed) : destroyed(destroyed) {}
    ~Tracked() override { ++*destroyed; }
    int* destroyed;
};

// Builds `count` instances of five properties each, as an enumeration does.
void fill(Request& req, int count)
{
    const std::string nameSpace = "root/cimv2";
    const std::string className = "Tavrix_IPProtocolEndpoint";
    char name[64];
    char element[64];
    for (int i = 0; i < count; ++i) {
        snprintf(name, sizeof name, "eth%d_52:54:00:12:34:56_3", i);
        snprintf(element, sizeof element, "interface number %d", i);
        CMPIObjectPath* op = req.newObjectPath(nameSpace, className);
        CMAddKey(op, "SystemCreationClassName", "Tavrix_ComputerSystem", CMPI_chars);
        CMAddKey(op, "Name", name, CMPI_chars);
        CMPIInstance* inst = req.newInstance(op);
        CMSetProperty(inst, "ElementName", element, CMPI_chars);
        CMSetProperty(inst, "IPv4Address", "192.0.2.10", CMPI_chars);
        CMPIUint16 origin = 3;
        CMSetProperty(inst, "AddressOrigin", &origin, CMPI_uint16);
    }
}

} // namespace

TEST(BrokerArena, RequestObjectsComeFromOneBuffer)
{
    Broker broker;
    const int count = 2000;
    Request req(broker);
    long before = heapAllocations;
    fill(req, count);
    long allocated = heapAllocations - before;
    EXPECT_GE(req.arena().size(), static_cast<size_t>(count) * 2);
    // Tens of objects and strings per instance, but the buffer grows in
    // few, ever larger blocks.
    EXPECT_LT(allocated, count / 10) << "heap allocations while building " << count << " instances";
}

TEST(BrokerArena, EndingARequestFreesInBlocksNotPerObject)
{
    Broker broker;
    const int count = 2000;
    long freesAtEnd = 0;
    {
        auto req = std::make_unique<Request>(broker);
        fill(*req, count);
        long before = heapFrees;
        req.reset();
        freesAtEnd = heapFrees - before;
    }
    EXPECT_LT(freesAtEnd, count / 10);
}

TEST(BrokerArena, EarlyReleaseDestroysAtOnceAndOnlyOnce)
{
    int destroyed = 0;
    {
        std::unique_ptr<Arena> scope = Arena::scope();
        Tracked* first = scope->make<Tracked>(&destroyed);
        Tracked* second = scope->make<Tracked>(&destroyed);
        EXPECT_EQ(scope->size(), 2u);
        EXPECT_TRUE(scope->releaseOne(first));
        EXPECT_EQ(destroyed, 1);
        EXPECT_FALSE(scope->releaseOne(first)) << "released twice";
        EXPECT_EQ(scope->size(), 1u);
        (void)second;
        // An object of another arena is not this one's to release.
        Arena other;
        Tracked* foreign = other.make<Tracked>(&destroyed);
        EXPECT_FALSE(scope->releaseOne(foreign));
        EXPECT_EQ(destroyed, 1);
    }
    EXPECT_EQ(destroyed, 3);
}

TEST(BrokerArena, ReleasedStringsAndClonesThroughTheCmpiCalls)
{
    Broker broker;
    CMPIString* kept = nullptr;
    {
        Request req(broker);
        // As a provider does while the request runs.
        req.call([&](const CMPIContext*, const CMPIResult*) {
            size_t start = req.arena().size();
            CMPIString* s = CMNewString(broker.cmpi(), "a text longer than the small string buffer", nullptr);
            EXPECT_EQ(req.arena().size(), start + 1);
            kept = CMClone(s, nullptr);
            EXPECT_EQ(CMRelease(s).rc, CMPI_RC_OK);
            EXPECT_EQ(req.arena().size(), start);
            CMPIStatus ok = {CMPI_RC_OK, nullptr};
            return ok;
        });
    }
    // The clone lives in the broker's own arena, past the request.
    EXPECT_STREQ(CMGetCharsPtr(kept, nullptr), "a text longer than the small string buffer");
    EXPECT_EQ(CMRelease(kept).rc, CMPI_RC_OK);
}
