// Requests of every kind through the broker and straight through the MI
// function tables: class names known and random, keys of any type, null
// and wrong-typed arguments, method names known and random.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmpimacs.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FuzzScene.h"
#include "Arena.h"
#include "Request.h"
#include "Value.h"

namespace {

using cimhost::PathSpec;
using cimhost::Value;

const char* const otherClasses[] = {"Tavrix_ComputerSystem", "Tavrix_SPComputerSystem",
                                    "Tavrix_LANEndpoint", "CIM_ManagedElement", "", "Tavrix_ConcreteJob"};
const char* const keyNames[] = {"SystemCreationClassName", "SystemName", "CreationClassName", "Name",
                                "InstanceID", "Antecedent", "Dependent", "GroupComponent",
                                "PartComponent", "ManagedElement", "SettingData", "ElementName",
                                "AccessInfo", "AddressOrigin", "IPv4Address", "SubnetMask",
                                "DefaultGatewayAddress", "RequestedState", "EnabledState", "ProtocolIFType"};
const char* const keyTexts[] = {"Tavrix_ComputerSystem", "Tavrix_SPComputerSystem", "Tavrix_IPProtocolEndpoint",
                                "eth0_52:54:00:12:34:56_3", "eth0_52:54:00:12:34:56_4", "bmc0_52:54:00:ab:cd:ef_3",
                                "BMC:-1", "Computer:eth0", "BMC:bmc0", "Computer:eth0:0", "_", "__", ":", "eth1:0",
                                "192.0.2.1", "255.255.255.0", "fuzz", "Computer:", "BMC:"};
const char* const methodNames[] = {"RequestStateChange", "RequestStateChange ", "requeststatechange",
                                   "ApplySettingToIPProtocolEndpointX", "", "Reset"};

std::string className(FuzzedDataProvider& in)
{
    unsigned pick = in.ConsumeIntegralInRange<unsigned>(0, 24);
    if (pick < 17)
        return fuzzscene::instanceClasses()[pick];
    if (pick < 23)
        return otherClasses[pick - 17];
    return in.ConsumeRandomLengthString(40);
}

std::string text(FuzzedDataProvider& in)
{
    if (in.ConsumeBool())
        return keyTexts[in.ConsumeIntegralInRange<size_t>(0, sizeof keyTexts / sizeof *keyTexts - 1)];
    return in.ConsumeRandomLengthString(64);
}

PathSpec path(FuzzedDataProvider& in, int depth);

Value value(FuzzedDataProvider& in, int depth)
{
    switch (in.ConsumeIntegralInRange<int>(0, 11)) {
    case 0: return Value::string(text(in));
    case 1: return Value::uint16(in.ConsumeIntegral<uint16_t>());
    case 2: return Value::uint32(in.ConsumeIntegral<uint32_t>());
    case 3: return Value::uint64(in.ConsumeIntegral<uint64_t>());
    case 4: return Value::sint32(in.ConsumeIntegral<int32_t>());
    case 5: return Value::boolValue(in.ConsumeBool());
    case 6: return Value::null(in.ConsumeBool() ? CMPI_string : CMPI_uint16);
    case 7: return depth < 2 ? Value::reference(path(in, depth + 1)) : Value::string(text(in));
    case 8: return Value::stringArray({text(in), text(in)});
    case 9: return Value::uint16Array({in.ConsumeIntegral<uint16_t>()});
    case 10: return Value::real64(in.ConsumeFloatingPoint<double>());
    default: return Value::dateTime(in.ConsumeRandomLengthString(26));
    }
}

PathSpec path(FuzzedDataProvider& in, int depth)
{
    PathSpec described;
    described.nameSpace = in.ConsumeIntegralInRange<int>(0, 7) ? "root/cimv2" : in.ConsumeRandomLengthString(16);
    described.className = className(in);
    unsigned keys = in.ConsumeIntegralInRange<unsigned>(0, 5);
    for (unsigned k = 0; k < keys; ++k) {
        std::string name = in.ConsumeIntegralInRange<int>(0, 9)
                               ? keyNames[in.ConsumeIntegralInRange<size_t>(0, sizeof keyNames / sizeof *keyNames - 1)]
                               : in.ConsumeRandomLengthString(20);
        described.keys.push_back({name, value(in, depth)});
    }
    return described;
}

const char** propertyList(FuzzedDataProvider& in, std::vector<std::string>& store, std::vector<const char*>& list)
{
    if (in.ConsumeBool())
        return nullptr;
    unsigned n = in.ConsumeIntegralInRange<unsigned>(0, 3);
    for (unsigned i = 0; i < n; ++i)
        store.push_back(text(in));
    for (const std::string& s : store)
        list.push_back(s.c_str());
    list.push_back(nullptr);
    return list.data();
}

// The MI slots called as a careless server might: null path, result or
// instance, paths of other classes.
void direct(FuzzedDataProvider& in, cimhost::Request& req, fuzzscene::Scene& s, CMPIObjectPath* op,
            CMPIInstance* inst, CMPIArgs* args, const std::string& method)
{
    bool nullPath = in.ConsumeBool();
    bool nullResult = in.ConsumeBool();
    int slot = in.ConsumeIntegralInRange<int>(0, 8);
    const CMPIObjectPath* p = nullPath ? nullptr : op;
    req.call([&](const CMPIContext* ctx, const CMPIResult* rslt) {
        const CMPIResult* r = nullResult ? nullptr : rslt;
        CMPIInstanceMI* imi = s.instance;
        CMPIAssociationMI* ami = s.association;
        CMPIMethodMI* mmi = s.method;
        switch (slot) {
        case 0: return imi->ft->enumerateInstanceNames(imi, ctx, r, p);
        case 1: return imi->ft->enumerateInstances(imi, ctx, r, p, nullptr);
        case 2: return imi->ft->getInstance(imi, ctx, r, p, nullptr);
        case 3: return imi->ft->modifyInstance(imi, ctx, r, p, in.ConsumeBool() ? inst : nullptr, nullptr);
        case 4: return imi->ft->createInstance(imi, ctx, r, p, inst);
        case 5: return imi->ft->deleteInstance(imi, ctx, r, p);
        case 6: return ami->ft->references(ami, ctx, r, p, in.ConsumeBool() ? nullptr : "Tavrix_IPElementSettingData",
                                           nullptr, nullptr);
        case 7: return ami->ft->associatorNames(ami, ctx, r, p, nullptr, nullptr, nullptr, nullptr);
        default:
            return mmi->ft->invokeMethod(mmi, ctx, r, p, method.c_str(), in.ConsumeBool() ? args : nullptr,
                                         in.ConsumeBool() ? args : nullptr);
        }
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzscene::Scene& s = fuzzscene::scene();
    fuzzscene::Scene::resetStore();
    FuzzedDataProvider in(data, size);
    unsigned requests = in.ConsumeIntegralInRange<unsigned>(1, 4);
    for (unsigned n = 0; n < requests && in.remaining_bytes() > 0; ++n) {
        cimhost::Request req(s.broker);
        PathSpec described = path(in, 0);
        CMPIObjectPath* op = req.makePath(described);
        cimhost::InstanceSpec instSpec;
        instSpec.path = in.ConsumeBool() ? described : path(in, 0);
        unsigned props = in.ConsumeIntegralInRange<unsigned>(0, 6);
        for (unsigned i = 0; i < props; ++i)
            instSpec.properties.push_back(
                {keyNames[in.ConsumeIntegralInRange<size_t>(0, sizeof keyNames / sizeof *keyNames - 1)],
                 value(in, 0)});
        CMPIInstance* inst = req.makeInstance(instSpec);
        CMPIArgs* args = req.newArgs();
        unsigned argc = in.ConsumeIntegralInRange<unsigned>(0, 3);
        for (unsigned i = 0; i < argc; ++i) {
            static const char* const argNames[] = {"RequestedState", "TimeoutPeriod", "Configuration",
                                                   "IPProtocolEndpoint", "Mode"};
            CMPIData d = cimhost::toData(&s.broker, req.arena(), value(in, 0));
            CMAddArg(args, argNames[in.ConsumeIntegralInRange<size_t>(0, 4)], &d.value, d.type);
        }
        std::string method = in.ConsumeBool()
                                 ? methodNames[in.ConsumeIntegralInRange<size_t>(0, sizeof methodNames / sizeof *methodNames - 1)]
                                 : in.ConsumeRandomLengthString(40);
        std::vector<std::string> names;
        std::vector<const char*> list;
        const char** properties = propertyList(in, names, list);
        std::string assoc = className(in), result = className(in), role = text(in);
        const char* a = in.ConsumeBool() ? nullptr : assoc.c_str();
        const char* rc = in.ConsumeBool() ? nullptr : result.c_str();
        const char* ro = in.ConsumeBool() ? nullptr : role.c_str();
        switch (in.ConsumeIntegralInRange<int>(0, 10)) {
        case 0: req.enumerateInstanceNames(op); break;
        case 1: req.enumerateInstances(op, properties); break;
        case 2: req.getInstance(op, properties); break;
        case 3: req.modifyInstance(op, inst, properties); break;
        case 4: req.associators(op, a, rc, ro, nullptr, properties); break;
        case 5: req.associatorNames(op, a, rc, ro, nullptr); break;
        case 6: req.references(op, rc, ro, properties); break;
        case 7: req.referenceNames(op, rc, ro); break;
        case 8: req.invokeMethod(op, method.c_str(), args, req.newArgs()); break;
        case 9: req.execQuery(op, "SELECT * FROM Tavrix_IPProtocolEndpoint", "WQL"); break;
        default: direct(in, req, s, op, inst, args, method); break;
        }
    }
    return 0;
}
