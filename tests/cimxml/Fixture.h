#ifndef CIMXML_TESTS_FIXTURE_H
#define CIMXML_TESTS_FIXTURE_H

#include <cmpimacs.h>

#include <memory>
#include <string>

#include "Arena.h"
#include "Broker.h"
#include "ClassCatalog.h"
#include "FunctionProvider.h"
#include "StaticInstanceProvider.h"

// A small managed world: two widgets, a link between them and a method.
struct World {
    cimhost::Broker broker;
    cimhost::StaticInstanceProvider widgets;
    cimhost::FunctionProvider methods;
    cimhost::FunctionProvider links;
    std::shared_ptr<cimhost::cimxml::ClassCatalog> catalog = std::make_shared<cimhost::cimxml::ClassCatalog>();

    static cimhost::PathSpec widgetPath(const std::string& name)
    {
        cimhost::PathSpec p;
        p.nameSpace = "root/cimv2";
        p.className = "Test_Widget";
        p.keys.emplace_back("Name", cimhost::Value::string(name));
        return p;
    }

    static cimhost::InstanceSpec widget(const std::string& name, unsigned count)
    {
        cimhost::InstanceSpec w;
        w.path = widgetPath(name);
        w.set("Name", cimhost::Value::string(name));
        w.set("Count", cimhost::Value::uint16(count));
        w.set("Enabled", cimhost::Value::boolValue(true));
        w.set("Note", cimhost::Value::string("a <b> & \"c\""));
        w.set("Tags", cimhost::Value::stringArray({"x", "y"}));
        return w;
    }

    static cimhost::InstanceSpec link()
    {
        cimhost::InstanceSpec l;
        l.path.nameSpace = "root/cimv2";
        l.path.className = "Test_WidgetLink";
        l.path.keys.emplace_back("Antecedent", cimhost::Value::reference(widgetPath("w1")));
        l.path.keys.emplace_back("Dependent", cimhost::Value::reference(widgetPath("w2")));
        l.properties = l.path.keys;
        return l;
    }

    static cimhost::Arena& arena() { return *cimhost::Arena::current(); }

    World()
    {
        widgets.add(widget("w1", 1));
        widgets.add(widget("w2", 2));
        broker.registerKeys("Test_Widget", {"Name"});
        broker.registerKeys("Test_WidgetLink", {"Antecedent", "Dependent"});
        broker.registerInstanceProvider("Test_Widget", widgets.mi());
        broker.registerMethodProvider("Test_Widget", methods.methodMI());
        broker.registerAssociationProvider("Test_WidgetLink", links.associationMI());

        methods.invokeMethod = [this](const CMPIContext*, const CMPIResult* r, const CMPIObjectPath*,
                                      const char* method, const CMPIArgs* in, CMPIArgs* out) -> CMPIStatus {
            if (std::string(method) != "Reset")
                return {CMPI_RC_ERR_METHOD_NOT_FOUND, nullptr};
            CMPIData mode = CMGetArg(in, "Mode", nullptr);
            if (mode.state & CMPI_notFound)
                return {CMPI_RC_ERR_INVALID_PARAMETER, CMNewString(broker.cmpi(), "Mode is missing", nullptr)};
            if (mode.type != CMPI_uint16)
                return {CMPI_RC_ERR_TYPE_MISMATCH, CMNewString(broker.cmpi(), "Mode is not a uint16", nullptr)};
            if (mode.value.uint16 == 99)
                return {CMPI_RC_ERROR_SYSTEM, CMNewString(broker.cmpi(), "system <trouble>", nullptr)};
            CMPIObjectPath* job = cimhost::toObjectPath(&broker, arena(), widgetPath("job"));
            CMAddArg(out, "Job", &job, CMPI_ref);
            CMPIData target = CMGetArg(in, "Target", nullptr);
            if (!(target.state & CMPI_notFound) && target.type == CMPI_ref)
                CMAddArg(out, "Seen", &target.value.ref, CMPI_ref);
            CMPIUint32 rc = mode.value.uint16 * 10u;
            CMReturnData(r, reinterpret_cast<const CMPIValue*>(&rc), CMPI_uint32);
            return {CMPI_RC_OK, nullptr};
        };
        links.associators = [this](const CMPIContext*, const CMPIResult* r, const CMPIObjectPath*, const char*,
                                   const char*, const char*, const char*, const char**) -> CMPIStatus {
            CMReturnInstance(r, cimhost::toInstance(&broker, arena(), widget("w2", 2)));
            return {CMPI_RC_OK, nullptr};
        };
        links.associatorNames = [this](const CMPIContext*, const CMPIResult* r, const CMPIObjectPath*, const char*,
                                       const char*, const char*, const char*, const char**) -> CMPIStatus {
            CMReturnObjectPath(r, cimhost::toObjectPath(&broker, arena(), widgetPath("w2")));
            return {CMPI_RC_OK, nullptr};
        };
        links.references = [this](const CMPIContext*, const CMPIResult* r, const CMPIObjectPath*, const char*,
                                  const char*, const char**) -> CMPIStatus {
            CMReturnInstance(r, cimhost::toInstance(&broker, arena(), link()));
            return {CMPI_RC_OK, nullptr};
        };
        links.referenceNames = [this](const CMPIContext*, const CMPIResult* r, const CMPIObjectPath*, const char*,
                                      const char*, const char**) -> CMPIStatus {
            CMReturnObjectPath(r, cimhost::toObjectPath(&broker, arena(), link().path));
            return {CMPI_RC_OK, nullptr};
        };

        std::string error;
        catalog->addMof(R"(
            // declarations as a schema would ship them
            #pragma locale ("en_US")
            [Abstract, Description ("Base (with parens) and \"quotes\"")]
            class Test_Base {
                [Key, Description("the name")] string Name;
            };
            class Test_Widget : Test_Base {
                uint16 Count = 5;
                boolean Enabled;
                string Note;
                string Tags[];
                uint32 Reset([IN, Description("mode")] uint16 Mode, [In] Test_Widget REF Target,
                             [IN(false), OUT] CIM_ConcreteJob REF Job);
            };
            [Association] class Test_WidgetLink {
                [Key] Test_Widget REF Antecedent;
                [Key] Test_Widget REF Dependent;
            };
            instance of Test_Widget { Name = "ignored"; };
        )", &error);
        loadError = error;
    }
    std::string loadError;
};

#endif
