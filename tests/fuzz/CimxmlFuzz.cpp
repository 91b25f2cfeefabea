// The host's CIM-XML request handling: any body answers 200 or 400 with
// the CIMError header, against the module registered in the broker.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Dispatcher.h"
#include "FuzzScene.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzscene::Scene& s = fuzzscene::scene();
    fuzzscene::Scene::resetStore();
    std::string body(reinterpret_cast<const char*>(data), size);
    int status = 0;
    std::string cimError;
    std::string answer = cimhost::cimxml::Dispatcher::handleBody(s.broker, body, status, cimError);
    if (!((status == 200 && !answer.empty()) || (status == 400 && !cimError.empty() && answer.empty()))) {
        std::fprintf(stderr, "odd answer: status %d, CIMError '%s', %zu bytes\n", status, cimError.c_str(),
                     answer.size());
        abort();
    }
    return 0;
}
