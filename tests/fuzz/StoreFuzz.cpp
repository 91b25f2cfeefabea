// The node-store file loader: any bytes load or are refused with
// std::runtime_error; a loaded store walks cleanly and writes itself back
// in a form that loads to the same text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "Instrumentation.h"
#include "NodeStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    try {
        Korvu::NodeStore::loadFromString(text);
    } catch (const std::runtime_error&) {
        return 0;
    }
    std::string first = Korvu::NodeStore::toJson();
    for (unsigned type : {1u, 12u, 29u, 40u}) {
        Korvu::Instrumentation cursor;
        cursor.selectNode(static_cast<Korvu::NodeLexicon::NodeType>(type));
        for (int steps = 0; cursor && steps < 64; ++cursor, ++steps) {
            std::string s;
            unsigned int n = 0;
            std::vector<std::string> list;
            cursor.getProperty(Korvu::NodeLexicon::NAME, s);
            cursor.getProperty(Korvu::NodeLexicon::STATE, n);
            cursor.getProperty(Korvu::NodeLexicon::DNS_SERVERS, list);
            Korvu::Instrumentation parent;
            parent.selectNode(cursor.getPathToParentNode());
            parent.getNodeDescription();
            Korvu::Instrumentation self;
            self.selectNode(cursor.getPath());
            if (!self || self.getNodeName() != cursor.getNodeName()) {
                std::fprintf(stderr, "a node's own path does not find it: %s\n", cursor.getPath().c_str());
                abort();
            }
        }
    }
    try {
        Korvu::NodeStore::loadFromString(first);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "the store's own text does not load: %s\n", e.what());
        abort();
    }
    if (Korvu::NodeStore::toJson() != first) {
        std::fprintf(stderr, "the store's text changes on a second load\n");
        abort();
    }
    return 0;
}
