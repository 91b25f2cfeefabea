// Names: a text is kept once for the process, and past the bound a name
// owns a copy in the memory it was given; neither ever reads a stale text.
#include <gtest/gtest.h>

#include <cmpimacs.h>

#include <cstring>
#include <map>
#include <memory_resource>
#include <string>
#include <thread>
#include <vector>

#include "Broker.h"
#include "BrokerData.h"
#include "Name.h"
#include "Request.h"

namespace {

using cimhost::Name;

// Counts what is drawn and given back, by piece.
class CountingMemory : public std::pmr::memory_resource {
public:
    long outstanding() const { return static_cast<long>(pieces.size()); }

private:
    void* do_allocate(std::size_t bytes, std::size_t align) override
    {
        void* p = std::pmr::new_delete_resource()->allocate(bytes, align);
        pieces[p] = bytes;
        return p;
    }
    void do_deallocate(void* p, std::size_t bytes, std::size_t align) override
    {
        auto it = pieces.find(p);
        ASSERT_NE(it, pieces.end()) << "freed twice or never drawn";
        EXPECT_EQ(it->second, bytes);
        pieces.erase(it);
        std::pmr::new_delete_resource()->deallocate(p, bytes, align);
    }
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }

    std::map<void*, std::size_t> pieces;
};

TEST(Names, OneTextIsKeptOnceWhateverItCameFrom)
{
    CountingMemory memory;
    const std::string fromString = "SystemCreationClassName";
    Name a("SystemCreationClassName", &memory);
    Name b(fromString, &memory);
    Name c(std::string_view(fromString), &memory);
    EXPECT_TRUE(a.shared());
    EXPECT_EQ(a.c_str(), b.c_str());
    EXPECT_EQ(a.c_str(), c.c_str());
    EXPECT_EQ(std::string_view(a), "SystemCreationClassName");
    EXPECT_EQ(a.size(), fromString.size());
    EXPECT_EQ(memory.outstanding(), 0);
    EXPECT_TRUE(Name().empty());
    EXPECT_TRUE(Name(static_cast<const char*>(nullptr)).empty());
    // A view of nothing has no text to read or copy.
    EXPECT_TRUE(Name(std::string_view()).empty());
    Name reset("ElementName");
    reset = std::string_view();
    EXPECT_TRUE(reset.empty());
}

// A C string is looked up by where it is first; a buffer used again for
// another text must give that text, shorter or longer.
TEST(Names, ABufferUsedAgainGivesItsNewText)
{
    char buffer[32];
    std::strcpy(buffer, "Name");
    Name first(buffer);
    std::strcpy(buffer, "Nam");
    Name shorter(buffer);
    std::strcpy(buffer, "NameX");
    Name longer(buffer);
    std::strcpy(buffer, "name");
    Name otherCase(buffer);
    EXPECT_EQ(std::string_view(first), "Name");
    EXPECT_EQ(std::string_view(shorter), "Nam");
    EXPECT_EQ(std::string_view(longer), "NameX");
    EXPECT_EQ(std::string_view(otherCase), "name");

    // Views of the buffer: a part of it, then new text of the same length.
    std::strcpy(buffer, "ClassName");
    Name whole(std::string_view(buffer, 9));
    Name part(std::string_view(buffer, 5));
    std::strcpy(buffer, "ClassNome");
    Name changed(std::string_view(buffer, 9));
    EXPECT_EQ(std::string_view(whole), "ClassName");
    EXPECT_EQ(std::string_view(part), "Class");
    EXPECT_EQ(std::string_view(changed), "ClassNome");
}

// Past the bound (a client sending ever new names) names own their text:
// copies, moves and assignments between memories each keep a valid text
// and give back all they drew.
TEST(Names, PastTheBoundNamesOwnTheirTextAndGiveItBack)
{
    // Fill the process's texts: the bound is 64 Ki names.
    std::vector<Name> filling;
    filling.reserve(70000);
    for (int i = 0; i < 70000; ++i)
        filling.emplace_back("Filler_" + std::to_string(i));
    EXPECT_FALSE(filling.back().shared());
    // Names kept before the bound are still found.
    EXPECT_TRUE(Name("Filler_0").shared());
    EXPECT_EQ(Name("Filler_0").c_str(), filling.front().c_str());

    CountingMemory one;
    CountingMemory two;
    {
        Name own("NeverSeenBefore_1", &one);
        EXPECT_FALSE(own.shared());
        EXPECT_EQ(one.outstanding(), 1);
        Name copied(own, &two);
        EXPECT_NE(copied.c_str(), own.c_str());
        EXPECT_EQ(std::string_view(copied), "NeverSeenBefore_1");
        Name moved(std::move(copied), &one);  // other memory: copied over
        EXPECT_EQ(std::string_view(moved), "NeverSeenBefore_1");
        Name same(std::move(moved));  // same memory: taken over
        EXPECT_EQ(std::string_view(same), "NeverSeenBefore_1");
        EXPECT_TRUE(moved.empty());
        Name assigned("NeverSeenBefore_2", &two);
        assigned = own;
        EXPECT_EQ(std::string_view(assigned), "NeverSeenBefore_1");
        assigned = Name("Filler_1");
        EXPECT_TRUE(assigned.shared());
        own = std::move(same);
        EXPECT_EQ(std::string_view(own), "NeverSeenBefore_1");

        // A list in a request: lookups and copies as with kept names.
        std::pmr::vector<std::pair<Name, CMPIData>> list(&one);
        cimhost::setNamed(list, "NeverSeenBefore_3", cimhost::nullData(CMPI_uint8));
        cimhost::setNamed(list, "NEVERSEENBEFORE_3", cimhost::nullData(CMPI_uint16));
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(cimhost::findNamed(list, "neverseenbefore_3")->type, CMPI_uint16);
        std::pmr::vector<std::pair<Name, CMPIData>> copy(list, &two);
        EXPECT_EQ(std::string_view(copy.front().first), "NeverSeenBefore_3");
    }
    EXPECT_EQ(one.outstanding(), 0);
    EXPECT_EQ(two.outstanding(), 0);
}

// Threads name the same new texts at once: each gets the one kept copy.
TEST(Names, ThreadsNamingAtOnceShareOneText)
{
    if (!Name("Concurrent_probe").shared())
        GTEST_SKIP() << "this process's names are past their bound already";
    std::vector<std::vector<Name>> seen(4);
    std::vector<std::thread> threads;
    for (auto& mine : seen)
        threads.emplace_back([&mine] {
            for (int i = 0; i < 2000; ++i)
                mine.emplace_back("Concurrent_" + std::to_string(i));
        });
    for (auto& t : threads)
        t.join();
    for (std::size_t t = 0; t < seen.size(); ++t)
        for (int i = 0; i < 2000; ++i) {
            ASSERT_EQ(std::string_view(seen[t][i]), "Concurrent_" + std::to_string(i));
            ASSERT_EQ(seen[t][i].c_str(), seen[0][i].c_str()) << t << " " << i;
        }
}

// Through CMPI: a key or property name given in one case is found in any.
TEST(Names, ObjectsFindTheirNamesWithoutRegardToCase)
{
    cimhost::Broker broker;
    cimhost::Request req(broker);
    CMPIObjectPath* path = req.newObjectPath("root/cimv2", "Tavrix_IPProtocolEndpoint");
    CMAddKey(path, "SystemCreationClassName", "Tavrix_ComputerSystem", CMPI_chars);
    CMPIInstance* inst = CMNewInstance(broker.cmpi(), path, nullptr);
    ASSERT_NE(inst, nullptr);
    CMSetProperty(inst, "ElementName", "eth0", CMPI_chars);
    EXPECT_STREQ(CMGetCharPtr(CMGetKey(path, "systemcreationclassname", nullptr).value.string),
                 "Tavrix_ComputerSystem");
    EXPECT_STREQ(CMGetCharPtr(CMGetProperty(inst, "ELEMENTNAME", nullptr).value.string), "eth0");
    CMPIString* name = nullptr;
    CMGetKeyAt(path, 0, &name, nullptr);
    EXPECT_STREQ(CMGetCharPtr(name), "SystemCreationClassName");
}

} // namespace
