// The ifcfg reader and writer: any bytes parse and render back unchanged;
// a set value reads back, leaves the other lines alone and survives a
// write to disk and a fresh load.
#include <fuzzer/FuzzedDataProvider.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "IfcfgFile.h"

using Korvu::IPInterfaceProvider::IfcfgFile;

namespace {

const std::string& folder()
{
    static std::string name = [] {
        char pattern[] = "/tmp/ipif-fuzz-ifcfg-XXXXXX";
        return std::string(mkdtemp(pattern) ? pattern : "/tmp") + "/";
    }();
    return name;
}

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "ifcfg check failed: %s\n", what);
        abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    std::string key = in.ConsumeRandomLengthString(16);
    std::string value = in.ConsumeRandomLengthString(32);
    std::string text = in.ConsumeRemainingBytesAsString();

    IfcfgFile file = IfcfgFile::parse(text);
    check(file.render() == text, "parse and render keep every byte");
    std::string before;
    bool had = file.getValue(key, before);

    bool usable = IfcfgFile::isUsableKey(key) && IfcfgFile::isUsableValue(value);
    bool set = file.setValue(key, value);
    check(set == usable, "setValue accepts exactly the usable key and value");
    std::string after;
    if (set) {
        check(file.getValue(key, after) && after == value, "a set value reads back");
        IfcfgFile again = IfcfgFile::parse(file.render());
        check(again.getValue(key, after) && after == value, "a set value survives render and parse");
    } else {
        check(file.render() == text, "a refused value changes nothing");
        check(file.getValue(key, after) == had && (!had || after == before), "a refused value keeps the old one");
    }

    std::string path = folder() + "ifcfg-fuzz";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    IfcfgFile::Result r = IfcfgFile::update(path, {{key, value}});
    check((r == IfcfgFile::RESULT_OK) == usable || r == IfcfgFile::RESULT_FAILED, "update answers by the values");
    IfcfgFile loaded;
    bool exists = false;
    check(IfcfgFile::load(path, loaded, exists) && exists, "the updated file loads");
    if (r == IfcfgFile::RESULT_OK)
        check(loaded.render() == file.render(), "the file holds what setValue made");
    else
        check(loaded.render() == text, "a refused update leaves the file alone");
    return 0;
}
