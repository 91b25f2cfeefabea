// Request memory: what a request's objects hold comes from the request's
// buffer and goes back with it at once; early release still destroys.
#include <gtest/gtest.h>

#include <cmpimacs.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <memory_resource>
#include <mutex>
#include <new>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "Arena.h"
#include "Broker.h"
#include "InstanceObject.h"
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

// Counts its end although it says it holds memory alone, to tell which
// objects an arena still ends one by one.
struct TrackedMemory : Tracked {
    static constexpr bool memoryOnly = true;
    using Tracked::Tracked;
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

TEST(BrokerArena, PartsInRequestMemoryListOnlyWhatMustBeEnded)
{
    int destroyed = 0;
    std::unique_ptr<Arena> scope = Arena::scope();
    {
        Arena parts(scope->memory());
        TrackedMemory* value = parts.make<TrackedMemory>(&destroyed);
        parts.make<Tracked>(&destroyed);
        EXPECT_EQ(parts.size(), 1u);
        // A value of memory alone stays, whole, until the request ends.
        EXPECT_FALSE(parts.releaseOne(value));
        EXPECT_EQ(value->destroyed, &destroyed);
    }
    EXPECT_EQ(destroyed, 1) << "an object holding more than memory is ended with its parts";
    {
        Arena owned(std::pmr::new_delete_resource());
        owned.make<TrackedMemory>(&destroyed);
        EXPECT_EQ(owned.size(), 1u);
    }
    EXPECT_EQ(destroyed, 2) << "memory that is not a request's gives every part back";
}

namespace {

// Counts what an arena draws from and gives back to its memory.
class CountingMemory : public std::pmr::memory_resource {
public:
    long allocations = 0;
    size_t deallocatedBytes = 0;

private:
    void* do_allocate(size_t bytes, size_t align) override
    {
        ++allocations;
        return std::pmr::new_delete_resource()->allocate(bytes, align);
    }
    void do_deallocate(void* p, size_t bytes, size_t align) override
    {
        deallocatedBytes += bytes;
        std::pmr::new_delete_resource()->deallocate(p, bytes, align);
    }
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }
};

} // namespace

// A large request holds some hundred thousand objects: the list of them
// grows without moving what it already holds, and releases anywhere in it
// destroy exactly the object named.
TEST(BrokerArena, ManyObjectsAreHeldWithoutMovingAndReleasedAnywhere)
{
    CountingMemory memory;
    int destroyed = 0;
    {
        Arena arena(&memory);
        std::vector<Tracked*> made;
        for (int i = 0; i < 5000; ++i)
            made.push_back(arena.make<Tracked>(&destroyed));
        // Only a small table of where the parts are may move.
        EXPECT_LT(memory.deallocatedBytes, 4096u) << "the object list was moved while it grew";
        EXPECT_LT(memory.allocations, 5000 + 64);

        int released = 0;
        for (size_t i = 0; i < made.size(); i += 3, ++released)
            ASSERT_TRUE(arena.releaseOne(made[i])) << i;
        // The newest ones, newest first: the list shrinks from its end.
        for (size_t i = made.size() - 1; i > made.size() - 200; --i) {
            if (i % 3 == 0)
                continue;
            ASSERT_TRUE(arena.releaseOne(made[i])) << i;
            ++released;
        }
        EXPECT_EQ(destroyed, released);
        EXPECT_FALSE(arena.releaseOne(made[0])) << "released twice";
        EXPECT_EQ(arena.size(), made.size() - static_cast<size_t>(released));
        // Room given up at the end is used again.
        for (int i = 0; i < 300; ++i)
            made.push_back(arena.make<Tracked>(&destroyed));
        EXPECT_TRUE(arena.releaseOne(made.back()));
        EXPECT_EQ(destroyed, released + 1);
        EXPECT_EQ(arena.size(), made.size() - static_cast<size_t>(released) - 1);
    }
    EXPECT_EQ(destroyed, 5300);
}

namespace {

// Holds only arena memory, as it declares; counts its destructions to show
// which ones ran.
struct MemoryOnlyTracked : cimhost::Releasable {
    static constexpr bool memoryOnly = true;
    explicit MemoryOnlyTracked(int* destroyed) : destroyed(destroyed) {}
    ~MemoryOnlyTracked() override { ++*destroyed; }
    int* destroyed;
};

} // namespace

// Instances of one class often come in two shapes in turn (an interface
// with addresses, one without): neither shape's property list grows and
// moves once both have been answered.
TEST(BrokerArena, InstancesOfTwoShapesInTurnTakeTheirRoomAtOnce)
{
    cimhost::Broker broker;
    cimhost::Request req(broker);
    CMPIObjectPath* path = req.newObjectPath("root/cimv2", "Tavrix_TwoShapes");
    CMAddKey(path, "Name", "eth0", CMPI_chars);
    CountingMemory memory;
    cimhost::Arena arena(&memory);
    size_t moved = 0;
    for (int n = 0; n < 8; ++n) {
        if (n == 2)
            moved = memory.deallocatedBytes;
        cimhost::InstanceObject* object = cimhost::InstanceObject::create(&broker, arena, path);
        CMPIInstance* inst = &object->cell.cmpi;
        const int properties = n % 2 == 0 ? 17 : 12;
        for (CMPIUint32 i = 0; i < static_cast<CMPIUint32>(properties); ++i)
            CMSetProperty(inst, ("P" + std::to_string(i)).c_str(), &i, CMPI_uint32);
        ASSERT_EQ(CMGetPropertyCount(inst, nullptr), static_cast<CMPICount>(properties + 1)) << n;
        cimhost::InstanceObject::answered(object);
    }
    EXPECT_EQ(memory.deallocatedBytes, moved) << "a property list grew after both shapes were answered";
}

TEST(BrokerArena, EndingARequestSkipsObjectsOfMemoryAlone)
{
    int memoryOnly = 0;
    int other = 0;
    {
        std::unique_ptr<Arena> scope = Arena::scope();
        scope->make<MemoryOnlyTracked>(&memoryOnly);
        MemoryOnlyTracked* early = scope->make<MemoryOnlyTracked>(&memoryOnly);
        scope->make<Tracked>(&other);
        // Released while the request runs: destroyed as any object.
        EXPECT_TRUE(scope->releaseOne(early));
        EXPECT_EQ(memoryOnly, 1);
    }
    EXPECT_EQ(memoryOnly, 1) << "objects of memory alone destroyed one by one at the end";
    EXPECT_EQ(other, 1);
    // An arena without a buffer of its own frees each object.
    {
        Arena longLived;
        longLived.make<MemoryOnlyTracked>(&memoryOnly);
    }
    EXPECT_EQ(memoryOnly, 2);
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

namespace {

std::string textOf(const CMPIInstance* inst, const char* name)
{
    CMPIData d = CMGetProperty(inst, name, nullptr);
    return (d.state & CMPI_notFound) || d.type != CMPI_string ? "<none>" : CMGetCharsPtr(d.value.string, nullptr);
}

} // namespace

// A returned instance is the provider's answer as it stood when returned,
// whatever the provider does with its own handle afterwards.
TEST(BrokerArena, ReturnedInstancesStayAsReturned)
{
    Broker broker;
    Request req(broker);
    size_t objectsAfterReturns = 0;
    cimhost::Response r = req.call([&](const CMPIContext*, const CMPIResult* rslt) {
        CMPIObjectPath* op = req.newObjectPath("root/cimv2", "Tavrix_IPProtocolEndpoint");
        CMAddKey(op, "Name", "eth0", CMPI_chars);

        // Reused for a second answer, as some providers do.
        CMPIInstance* reused = req.newInstance(op);
        CMSetProperty(reused, "IPv4Address", "192.0.2.1", CMPI_chars);
        CMReturnInstance(rslt, reused);
        CMSetProperty(reused, "IPv4Address", "192.0.2.2", CMPI_chars);
        CMReturnInstance(rslt, reused);
        CMPIUint16 origin = 4;
        CMSetProperty(reused, "AddressOrigin", &origin, CMPI_uint16);

        // Released right after it was returned.
        CMPIInstance* released = req.newInstance(op);
        CMSetProperty(released, "IPv4Address", "192.0.2.3", CMPI_chars);
        CMReturnInstance(rslt, released);
        EXPECT_EQ(CMRelease(released).rc, CMPI_RC_OK);

        // Returned twice unchanged, then changed through a new path.
        CMPIInstance* twice = req.newInstance(op);
        CMSetProperty(twice, "IPv4Address", "192.0.2.4", CMPI_chars);
        CMReturnInstance(rslt, twice);
        CMReturnInstance(rslt, twice);
        CMPIObjectPath* other = req.newObjectPath("root/cimv2", "Tavrix_IPProtocolEndpoint");
        CMAddKey(other, "Name", "eth9", CMPI_chars);
        CMSetObjectPath(twice, other);
        const char* onlyName[] = {"Name", nullptr};
        CMSetPropertyFilter(twice, onlyName, nullptr);
        objectsAfterReturns = req.arena().size();
        CMPIStatus ok = {CMPI_RC_OK, nullptr};
        return ok;
    });
    ASSERT_EQ(r.instances.size(), 5u);
    EXPECT_EQ(textOf(r.instances[0], "IPv4Address"), "192.0.2.1");
    EXPECT_EQ(textOf(r.instances[1], "IPv4Address"), "192.0.2.2");
    EXPECT_TRUE(CMGetProperty(r.instances[1], "AddressOrigin", nullptr).state & CMPI_notFound);
    EXPECT_EQ(textOf(r.instances[2], "IPv4Address"), "192.0.2.3");
    for (size_t i : {3u, 4u}) {
        EXPECT_EQ(textOf(r.instances[i], "IPv4Address"), "192.0.2.4");
        EXPECT_EQ(textOf(r.instances[i], "Name"), "eth0");
        CMSetProperty(r.instances[i], "ElementName", "seen", CMPI_chars);
        EXPECT_EQ(textOf(r.instances[i], "ElementName"), "seen");
    }
    EXPECT_GT(objectsAfterReturns, 0u);
}

TEST(BrokerArena, ReturningAnInstanceTheProviderIsDoneWithCopiesNothing)
{
    Broker broker;
    Request req(broker);
    size_t growth = 0;
    cimhost::Response r = req.call([&](const CMPIContext*, const CMPIResult* rslt) {
        CMPIObjectPath* op = req.newObjectPath("root/cimv2", "Tavrix_IPProtocolEndpoint");
        CMAddKey(op, "Name", "eth0", CMPI_chars);
        std::vector<CMPIInstance*> made;
        for (int i = 0; i < 100; ++i) {
            made.push_back(req.newInstance(op));
            CMSetProperty(made.back(), "IPv4Address", "192.0.2.1", CMPI_chars);
        }
        size_t before = req.arena().size();
        for (CMPIInstance* inst : made)
            CMReturnInstance(rslt, inst);
        growth = req.arena().size() - before;
        CMPIStatus ok = {CMPI_RC_OK, nullptr};
        return ok;
    });
    EXPECT_EQ(r.instances.size(), 100u);
    EXPECT_EQ(growth, 0u) << "objects made by returning 100 instances";
}

namespace {

std::string keyOf(const CMPIObjectPath* op, const char* name)
{
    CMPIData d = CMGetKey(op, name, nullptr);
    return (d.state & CMPI_notFound) || d.type != CMPI_string ? "<none>" : CMGetCharsPtr(d.value.string, nullptr);
}

} // namespace

TEST(BrokerArena, ReturnedPathsStayAsReturnedAndCostNoCopy)
{
    Broker broker;
    Request req(broker);
    size_t growth = 0;
    cimhost::Response r = req.call([&](const CMPIContext*, const CMPIResult* rslt) {
        CMPIObjectPath* reused = req.newObjectPath("root/cimv2", "Tavrix_IPProtocolEndpoint");
        CMAddKey(reused, "Name", "eth0", CMPI_chars);
        size_t before = req.arena().size();
        CMReturnObjectPath(rslt, reused);
        growth = req.arena().size() - before;
        CMAddKey(reused, "Name", "eth1", CMPI_chars);
        CMReturnObjectPath(rslt, reused);
        CMSetNameSpace(reused, "root/other");
        CMPIObjectPath* released = req.newObjectPath("root/cimv2", "Tavrix_IPProtocolEndpoint");
        CMAddKey(released, "Name", "eth2", CMPI_chars);
        CMReturnObjectPath(rslt, released);
        EXPECT_EQ(CMRelease(released).rc, CMPI_RC_OK);
        CMPIStatus ok = {CMPI_RC_OK, nullptr};
        return ok;
    });
    EXPECT_EQ(growth, 0u) << "objects made by returning a path";
    ASSERT_EQ(r.paths.size(), 3u);
    EXPECT_EQ(keyOf(r.paths[0], "Name"), "eth0");
    EXPECT_EQ(keyOf(r.paths[1], "Name"), "eth1");
    EXPECT_STREQ(CMGetCharsPtr(CMGetNameSpace(r.paths[1], nullptr), nullptr), "root/cimv2");
    EXPECT_EQ(keyOf(r.paths[2], "Name"), "eth2");
}

// Copies of a path made while a request runs (a reference set as a
// property, a key of another path) share its keys until one of them
// changes; what either handed out stays readable as long as it lives.
TEST(BrokerArena, PathCopiesShareKeysUntilOneChanges)
{
    Broker broker;
    Request req(broker);
    CMPIObjectPath* cloned = nullptr;
    req.call([&](const CMPIContext*, const CMPIResult*) {
        CMPIObjectPath* op = req.newObjectPath("root/cimv2", "Tavrix_IPProtocolEndpoint");
        CMAddKey(op, "SystemName", "a system name past the small buffer", CMPI_chars);
        CMAddKey(op, "Name", "eth0_52:54:00:12:34:56_3", CMPI_chars);
        CMPIObjectPath* assoc = req.newObjectPath("root/cimv2", "Tavrix_BindsToLanEndPoint");
        CMPIInstance* inst = req.newInstance(assoc);
        CMSetProperty(inst, "Dependent", &op, CMPI_ref);
        CMPIObjectPath* held = CMGetProperty(inst, "Dependent", nullptr).value.ref;
        EXPECT_NE(held, op);
        EXPECT_EQ(CMGetKey(held, "Name", nullptr).value.string, CMGetKey(op, "Name", nullptr).value.string)
            << "the copy made its own key values";

        // A change to the copy leaves the source as it was, and back.
        CMPIString* before = CMGetKey(op, "Name", nullptr).value.string;
        CMAddKey(held, "Name", "eth9", CMPI_chars);
        EXPECT_EQ(keyOf(held, "Name"), "eth9");
        EXPECT_EQ(keyOf(op, "Name"), "eth0_52:54:00:12:34:56_3");
        EXPECT_EQ(keyOf(held, "SystemName"), "a system name past the small buffer");
        // A key named in another case is the same key, in its place.
        CMPIObjectPath* sharing = req.newObjectPath("root/cimv2", "Tavrix_BindsToLanEndPoint");
        CMAddKey(sharing, "Dependent", &held, CMPI_ref);
        CMAddKey(held, "SYSTEMNAME", "other", CMPI_chars);
        CMPIString* firstName = nullptr;
        EXPECT_EQ(CMGetKeyCount(held, nullptr), 2u);
        EXPECT_STREQ(CMGetCharsPtr(CMGetKeyAt(held, 0, &firstName, nullptr).value.string, nullptr), "other");
        EXPECT_STREQ(CMGetCharsPtr(firstName, nullptr), "SystemName");
        EXPECT_EQ(keyOf(held, "Name"), "eth9");
        EXPECT_EQ(keyOf(CMGetKey(sharing, "Dependent", nullptr).value.ref, "SystemName"),
                  "a system name past the small buffer");
        CMAddKey(held, "SystemName", "a system name past the small buffer", CMPI_chars);
        CMPIObjectPath* second = req.newObjectPath("root/cimv2", "Tavrix_BindsToLanEndPoint");
        CMAddKey(second, "Dependent", &op, CMPI_ref);
        CMAddKey(op, "SystemName", "renamed", CMPI_chars);
        CMPIObjectPath* key = CMGetKey(second, "Dependent", nullptr).value.ref;
        EXPECT_EQ(keyOf(key, "SystemName"), "a system name past the small buffer");
        EXPECT_EQ(keyOf(op, "SystemName"), "renamed");
        EXPECT_EQ(CMGetKeyCount(key, nullptr), 2u);

        // A value read from a path outlives the other holders of its keys.
        CMPIObjectPath* third = req.newObjectPath("root/cimv2", "Tavrix_BindsToLanEndPoint");
        CMAddKey(third, "Dependent", &op, CMPI_ref);
        CMPIString* read = CMGetKey(op, "Name", nullptr).value.string;
        CMAddKey(op, "Name", "eth1", CMPI_chars);
        EXPECT_EQ(CMRelease(third).rc, CMPI_RC_OK);
        EXPECT_STREQ(CMGetCharsPtr(read, nullptr), "eth0_52:54:00:12:34:56_3");
        EXPECT_STREQ(CMGetCharsPtr(before, nullptr), "eth0_52:54:00:12:34:56_3");

        // An instance made from a path shares its key values, and keeps
        // them when the path changes or goes.
        CMPIObjectPath* named = req.newObjectPath("root/cimv2", "Tavrix_IPProtocolEndpoint");
        CMAddKey(named, "Name", "eth0_52:54:00:12:34:56_3", CMPI_chars);
        CMPIInstance* made = CMNewInstance(broker.cmpi(), named, nullptr);
        EXPECT_EQ(CMGetProperty(made, "Name", nullptr).value.string, CMGetKey(named, "Name", nullptr).value.string);
        CMAddKey(named, "Name", "eth7", CMPI_chars);
        EXPECT_EQ(CMRelease(named).rc, CMPI_RC_OK);
        EXPECT_EQ(textOf(made, "Name"), "eth0_52:54:00:12:34:56_3");
        EXPECT_EQ(keyOf(CMGetObjectPath(made, nullptr), "Name"), "eth0_52:54:00:12:34:56_3");

        // A clone outlives the request: it holds keys of its own.
        cloned = CMClone(key, nullptr);
        CMPIStatus ok = {CMPI_RC_OK, nullptr};
        return ok;
    });
    ASSERT_NE(cloned, nullptr);
    EXPECT_EQ(keyOf(cloned, "SystemName"), "a system name past the small buffer");
    EXPECT_EQ(keyOf(cloned, "Name"), "eth0_52:54:00:12:34:56_3");
    EXPECT_EQ(CMRelease(cloned).rc, CMPI_RC_OK);
}

// The paths of one request repeat most of their key values (classes, the
// system): a value repeated on the request's thread is one string, values
// that differ or share a start stay apart, and a key changed on one path
// changes there alone.
TEST(BrokerArena, KeyValuesRepeatedInARequestAreKeptOnce)
{
    Broker broker;
    Request req(broker);
    std::string fromOtherThread;
    req.call([&](const CMPIContext*, const CMPIResult*) {
        std::vector<CMPIObjectPath*> paths;
        char name[32];
        CMPIString* system = CMNewString(broker.cmpi(), "host.example.com", nullptr);
        for (int i = 0; i < 40; ++i) {
            CMPIObjectPath* op = req.newObjectPath("root/cimv2", "Tavrix_IPProtocolEndpoint");
            CMAddKey(op, "SystemCreationClassName", "Tavrix_ComputerSystem", CMPI_chars);
            CMAddKey(op, "SystemName", &system, CMPI_string);
            snprintf(name, sizeof name, "eth%d", i);
            CMAddKey(op, "Name", name, CMPI_chars);
            CMAddKey(op, "Empty", "", CMPI_chars);
            paths.push_back(op);
        }
        CMPIString* first = CMGetKey(paths[0], "SystemCreationClassName", nullptr).value.string;
        std::set<const CMPIString*> copies;
        std::set<const CMPIString*> systems;
        for (int i = 0; i < 40; ++i) {
            copies.insert(CMGetKey(paths[i], "SystemCreationClassName", nullptr).value.string);
            systems.insert(CMGetKey(paths[i], "SystemName", nullptr).value.string);
            EXPECT_EQ(keyOf(paths[i], "SystemName"), "host.example.com");
            snprintf(name, sizeof name, "eth%d", i);
            EXPECT_EQ(keyOf(paths[i], "Name"), name);
            EXPECT_EQ(keyOf(paths[i], "Empty"), "");
        }
        // Names met once may push it out of the request's memory of texts
        // now and then, not for every path.
        EXPECT_LE(copies.size(), 2u);
        EXPECT_LE(systems.size(), 2u) << "a key given as a string is made anew for every path";
        EXPECT_NE(CMGetKey(paths[1], "Name", nullptr).value.string,
                  CMGetKey(paths[10], "Name", nullptr).value.string);

        CMAddKey(paths[0], "SystemCreationClassName", "Tavrix_Other", CMPI_chars);
        EXPECT_EQ(keyOf(paths[0], "SystemCreationClassName"), "Tavrix_Other");
        EXPECT_EQ(keyOf(paths[1], "SystemCreationClassName"), "Tavrix_ComputerSystem");
        EXPECT_STREQ(CMGetCharsPtr(first, nullptr), "Tavrix_ComputerSystem");

        // A provider thread of the same request gets its values right.
        std::thread worker([&] {
            CMPIObjectPath* op = req.newObjectPath("root/cimv2", "Tavrix_IPProtocolEndpoint");
            CMAddKey(op, "SystemCreationClassName", "Tavrix_ComputerSystem", CMPI_chars);
            CMAddKey(op, "Name", "eth1x", CMPI_chars);
            fromOtherThread = keyOf(op, "SystemCreationClassName") + " " + keyOf(op, "Name");
        });
        worker.join();
        CMPIStatus ok = {CMPI_RC_OK, nullptr};
        return ok;
    });
    EXPECT_EQ(fromOtherThread, "Tavrix_ComputerSystem eth1x");

    // The next request's values are its own, not the ended one's.
    Request next(broker);
    CMPIObjectPath* op = next.newObjectPath("root/cimv2", "Tavrix_IPProtocolEndpoint");
    CMAddKey(op, "SystemCreationClassName", "Tavrix_ComputerSystem", CMPI_chars);
    EXPECT_EQ(keyOf(op, "SystemCreationClassName"), "Tavrix_ComputerSystem");
}

// Providers may return a request's results from threads of their own: each
// thread draws pieces from the request's buffer while the others do, the
// thread that opened the request among them, a piece freed on one thread
// may serve another, and none is handed out twice while in use.
TEST(BrokerArena, ThreadsDrawFromOneRequestBufferAtOnce)
{
    std::unique_ptr<Arena> scope = Arena::scope();
    std::pmr::memory_resource* memory = scope->memory();
    constexpr int threads = 4;
    constexpr int rounds = 3000;
    struct Piece {
        unsigned char* bytes;
        size_t size;
    };
    std::vector<std::vector<Piece>> kept(threads);
    std::vector<Piece> handedOver;
    std::mutex handing;
    std::atomic<int> damaged{0};
    std::vector<std::thread> workers;
    auto work = [&](int t) {
        const unsigned char mark = static_cast<unsigned char>(t + 1);
        std::vector<Piece> live;
        for (int i = 0; i < rounds; ++i) {
            const size_t size = 8 + static_cast<size_t>((i * 7 + t) % 300);
            auto* p = static_cast<unsigned char*>(memory->allocate(size, alignof(std::max_align_t)));
            std::memset(p, mark, size);
            live.push_back(Piece{p, size});
            if (i % 3 == 2) {
                // One goes back here, one to another thread to give back.
                Piece back = live[live.size() / 2];
                live.erase(live.begin() + static_cast<long>(live.size() / 2));
                for (size_t b = 0; b < back.size; ++b)
                    if (back.bytes[b] != mark) {
                        ++damaged;
                        break;
                    }
                memory->deallocate(back.bytes, back.size, alignof(std::max_align_t));
                std::lock_guard<std::mutex> lock(handing);
                handedOver.push_back(live.back());
                live.pop_back();
                if (handedOver.size() > 8) {
                    Piece other = handedOver.front();
                    handedOver.erase(handedOver.begin());
                    memory->deallocate(other.bytes, other.size, alignof(std::max_align_t));
                }
            }
        }
        kept[t] = std::move(live);
    };
    for (int t = 1; t < threads; ++t)
        workers.emplace_back(work, t);
    work(0);
    for (auto& w : workers)
        w.join();
    EXPECT_EQ(damaged.load(), 0);
    for (int t = 0; t < threads; ++t)
        for (const Piece& piece : kept[t])
            for (size_t b = 0; b < piece.size; ++b)
                if (piece.bytes[b] != t + 1) {
                    ADD_FAILURE() << "a piece of thread " << t << " was handed out twice";
                    return;
                }
}
