#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

#include "Instrumentation.h"
#include "NodeStore.h"
#include "SampleStore.h"
#include "TempFolder.h"

using Korvu::Instrumentation;
using Korvu::NodeLexicon;
using Korvu::NodeStore;

// Its own executable: the store loads lazily once per process, so nothing
// may touch it before this test.
TEST(LazyLoadTest, FirstUseLoadsTheConfiguredFileAndReloadPicksUpLaterOne)
{
    TempFolder folder;
    std::string file = folder.path("agent.json");
    ASSERT_EQ(::setenv("QUELLSTORE_FILE", file.c_str(), 1), 0);

    // Not there yet: an empty store that still knows its file.
    Instrumentation cursor;
    cursor.selectNode(NodeLexicon::IP_INTERFACE);
    EXPECT_FALSE(cursor);
    EXPECT_EQ(NodeStore::currentFile(), file);
    EXPECT_NE(NodeStore::loadError().find(file + ": the file does not exist"), std::string::npos)
        << NodeStore::loadError();

    // The file, once there, is taken by the next positioning.
    folder.write("agent.json", sampleStore());
    cursor.selectNode(NodeLexicon::IP_INTERFACE);
    EXPECT_TRUE(cursor);
    EXPECT_EQ(NodeStore::loadError(), "");
    NodeStore::reload();
    cursor.selectNode(NodeLexicon::IP_INTERFACE);
    ASSERT_TRUE(cursor);
    std::string name;
    EXPECT_TRUE(cursor.getProperty(NodeLexicon::NAME, name));
    EXPECT_EQ(name, "eth0");
    EXPECT_STREQ(NodeStore::defaultFile, "/var/lib/korvu/quellstore.json");
}
