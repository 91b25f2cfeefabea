#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <string>
#include <thread>
#include <vector>

#include "Dispatcher.h"
#include "Fixture.h"

using cimhost::cimxml::DispatchOptions;
using cimhost::cimxml::Dispatcher;

namespace {

const char* const nsPath = "<LOCALNAMESPACEPATH><NAMESPACE NAME=\"root\"/><NAMESPACE NAME=\"cimv2\"/></LOCALNAMESPACEPATH>";
const char* const w1Name = "<INSTANCENAME CLASSNAME=\"Test_Widget\"><KEYBINDING NAME=\"Name\">"
                           "<KEYVALUE VALUETYPE=\"string\">w1</KEYVALUE></KEYBINDING></INSTANCENAME>";

std::string message(const std::string& call)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><CIM CIMVERSION=\"2.0\" DTDVERSION=\"2.0\">"
           "<MESSAGE ID=\"42\" PROTOCOLVERSION=\"1.0\"><SIMPLEREQ>" + call + "</SIMPLEREQ></MESSAGE></CIM>";
}

std::string intrinsic(const std::string& name, const std::string& params)
{
    return message("<IMETHODCALL NAME=\"" + name + "\">" + nsPath + params + "</IMETHODCALL>");
}

std::string param(const std::string& name, const std::string& content)
{
    return "<IPARAMVALUE NAME=\"" + name + "\">" + content + "</IPARAMVALUE>";
}

std::string method(const std::string& name, const std::string& params)
{
    return message("<METHODCALL NAME=\"" + name + "\"><LOCALINSTANCEPATH>" + nsPath + w1Name + "</LOCALINSTANCEPATH>"
                   + params + "</METHODCALL>");
}

class DispatcherTest : public ::testing::Test {
protected:
    World world;
    DispatchOptions options;
    pugi::xml_document doc;

    void SetUp() override
    {
        ASSERT_EQ(world.loadError, "");
        options.classes = world.catalog.get();
    }

    // The response element (IMETHODRESPONSE or METHODRESPONSE) of a 200 answer.
    pugi::xml_node answer(const std::string& body)
    {
        int status = 0;
        std::string cimError;
        std::string out = Dispatcher::handleBody(world.broker, body, status, cimError, options);
        EXPECT_EQ(status, 200) << cimError;
        EXPECT_TRUE(doc.load_string(out.c_str())) << out;
        pugi::xml_node msg = doc.child("CIM").child("MESSAGE");
        EXPECT_STREQ(msg.attribute("ID").value(), "42");
        pugi::xml_node rsp = msg.child("SIMPLERSP").first_child();
        return rsp;
    }

    int errorCode(const std::string& body)
    {
        pugi::xml_node e = answer(body).child("ERROR");
        return e ? e.attribute("CODE").as_int() : 0;
    }

    std::string badRequest(const std::string& body)
    {
        int status = 0;
        std::string cimError;
        std::string out = Dispatcher::handleBody(world.broker, body, status, cimError, options);
        EXPECT_EQ(status, 400);
        EXPECT_TRUE(out.empty());
        return cimError;
    }
};

std::string propertyValue(const pugi::xml_node& inst, const char* name)
{
    for (pugi::xml_node p : inst.children())
        if (std::string(p.attribute("NAME").value()) == name)
            return p.child("VALUE").text().get();
    return "<absent>";
}

} // namespace

TEST_F(DispatcherTest, EnumerationsAnswerTypedNamedInstances)
{
    pugi::xml_node rsp = answer(intrinsic("EnumerateInstances", param("ClassName", "<CLASSNAME NAME=\"Test_Widget\"/>")));
    ASSERT_STREQ(rsp.name(), "IMETHODRESPONSE");
    EXPECT_STREQ(rsp.attribute("NAME").value(), "EnumerateInstances");
    std::vector<pugi::xml_node> named;
    for (pugi::xml_node n : rsp.child("IRETURNVALUE").children("VALUE.NAMEDINSTANCE"))
        named.push_back(n);
    ASSERT_EQ(named.size(), 2u);
    pugi::xml_node inst = named[0].child("INSTANCE");
    EXPECT_STREQ(named[0].child("INSTANCENAME").child("KEYBINDING").child("KEYVALUE").text().get(), "w1");
    EXPECT_EQ(propertyValue(inst, "Note"), "a <b> & \"c\"");
    EXPECT_STREQ(inst.find_child_by_attribute("PROPERTY", "NAME", "Count").attribute("TYPE").value(), "uint16");
    EXPECT_STREQ(inst.find_child_by_attribute("PROPERTY", "NAME", "Enabled").child("VALUE").text().get(), "TRUE");
    pugi::xml_node tags = inst.find_child_by_attribute("PROPERTY.ARRAY", "NAME", "Tags");
    ASSERT_TRUE(tags);
    EXPECT_STREQ(tags.child("VALUE.ARRAY").last_child().text().get(), "y");

    rsp = answer(intrinsic("EnumerateInstanceNames", param("ClassName", "<CLASSNAME NAME=\"Test_Widget\"/>")));
    int count = 0;
    for (pugi::xml_node n : rsp.child("IRETURNVALUE").children("INSTANCENAME")) {
        EXPECT_STREQ(n.attribute("CLASSNAME").value(), "Test_Widget");
        ++count;
    }
    EXPECT_EQ(count, 2);

    // A property list limits what comes back.
    rsp = answer(intrinsic("EnumerateInstances", param("ClassName", "<CLASSNAME NAME=\"Test_Widget\"/>")
                                                     + param("PropertyList", "<VALUE.ARRAY><VALUE>Count</VALUE></VALUE.ARRAY>")));
    inst = rsp.child("IRETURNVALUE").child("VALUE.NAMEDINSTANCE").child("INSTANCE");
    EXPECT_EQ(propertyValue(inst, "Note"), "<absent>");
    EXPECT_EQ(propertyValue(inst, "Count"), "1");
}

TEST_F(DispatcherTest, GetAndModifyInstance)
{
    pugi::xml_node rsp = answer(intrinsic("GetInstance", param("InstanceName", w1Name)));
    EXPECT_EQ(propertyValue(rsp.child("IRETURNVALUE").child("INSTANCE"), "Count"), "1");

    // Untyped properties take the declared type, as the provider stores them.
    rsp = answer(intrinsic("ModifyInstance",
                           param("ModifiedInstance", std::string("<VALUE.NAMEDINSTANCE>") + w1Name
                                                         + "<INSTANCE CLASSNAME=\"Test_Widget\">"
                                                           "<PROPERTY NAME=\"Count\"><VALUE>9</VALUE></PROPERTY>"
                                                           "<PROPERTY NAME=\"Note\" TYPE=\"string\"><VALUE>new &amp; shiny</VALUE></PROPERTY>"
                                                           "</INSTANCE></VALUE.NAMEDINSTANCE>")));
    EXPECT_FALSE(rsp.child("ERROR")) << rsp.child("ERROR").attribute("DESCRIPTION").value();
    for (const auto& w : world.widgets.instances())
        if (w.property("Name")->asString() == "w1") {
            EXPECT_EQ(*w.property("Count"), cimhost::Value::uint16(9));
            EXPECT_EQ(w.property("Count")->type, CMPI_uint16);
            EXPECT_EQ(w.property("Note")->asString(), "new & shiny");
        }

    std::string missing = "<INSTANCENAME CLASSNAME=\"Test_Widget\"><KEYBINDING NAME=\"Name\">"
                          "<KEYVALUE VALUETYPE=\"string\">nope</KEYVALUE></KEYBINDING></INSTANCENAME>";
    EXPECT_EQ(errorCode(intrinsic("GetInstance", param("InstanceName", missing))), CMPI_RC_ERR_NOT_FOUND);
    EXPECT_EQ(errorCode(intrinsic("GetInstance", param("InstanceName",
                                                       "<INSTANCENAME CLASSNAME=\"No_Such\"/>"))),
              CMPI_RC_ERR_INVALID_CLASS);
}

TEST_F(DispatcherTest, AssociationOperationsAnswerFullPaths)
{
    pugi::xml_node rsp = answer(intrinsic("Associators", param("ObjectName", w1Name)
                                                             + param("AssocClass", "<CLASSNAME NAME=\"Test_WidgetLink\"/>")));
    pugi::xml_node owp = rsp.child("IRETURNVALUE").child("VALUE.OBJECTWITHPATH");
    ASSERT_TRUE(owp);
    EXPECT_STREQ(owp.child("INSTANCEPATH").child("NAMESPACEPATH").child("HOST").text().get(), "localhost");
    EXPECT_STREQ(owp.child("INSTANCEPATH").child("INSTANCENAME").child("KEYBINDING").child("KEYVALUE").text().get(),
                 "w2");

    rsp = answer(intrinsic("AssociatorNames", param("ObjectName", w1Name)));
    EXPECT_TRUE(rsp.child("IRETURNVALUE").child("OBJECTPATH").child("INSTANCEPATH"));

    rsp = answer(intrinsic("References", param("ObjectName", w1Name) + param("Role", "<VALUE>Antecedent</VALUE>")));
    pugi::xml_node inst = rsp.child("IRETURNVALUE").child("VALUE.OBJECTWITHPATH").child("INSTANCE");
    pugi::xml_node ref = inst.find_child_by_attribute("PROPERTY.REFERENCE", "NAME", "Dependent");
    ASSERT_TRUE(ref);
    EXPECT_STREQ(ref.attribute("REFERENCECLASS").value(), "Test_Widget");
    EXPECT_TRUE(ref.child("VALUE.REFERENCE").child("LOCALINSTANCEPATH"));

    rsp = answer(intrinsic("ReferenceNames", param("ObjectName", w1Name)));
    pugi::xml_node name = rsp.child("IRETURNVALUE").child("OBJECTPATH").child("INSTANCEPATH").child("INSTANCENAME");
    EXPECT_STREQ(name.attribute("CLASSNAME").value(), "Test_WidgetLink");
    EXPECT_TRUE(name.child("KEYBINDING").child("VALUE.REFERENCE"));
}

TEST_F(DispatcherTest, MethodsTypeTheirParametersAndReturnOutputs)
{
    // wbemcli sends no PARAMTYPE: the catalog's uint16 must reach the provider.
    std::string target = std::string("<VALUE.REFERENCE><LOCALINSTANCEPATH>") + nsPath + w1Name
                         + "</LOCALINSTANCEPATH></VALUE.REFERENCE>";
    pugi::xml_node rsp = answer(method("Reset", "<PARAMVALUE NAME=\"Mode\"><VALUE>3</VALUE></PARAMVALUE>"
                                                "<PARAMVALUE NAME=\"Target\">" + target + "</PARAMVALUE>"));
    ASSERT_STREQ(rsp.name(), "METHODRESPONSE");
    ASSERT_FALSE(rsp.child("ERROR")) << rsp.child("ERROR").attribute("DESCRIPTION").value();
    EXPECT_STREQ(rsp.child("RETURNVALUE").attribute("PARAMTYPE").value(), "uint32");
    EXPECT_STREQ(rsp.child("RETURNVALUE").child("VALUE").text().get(), "30");
    pugi::xml_node job = rsp.find_child_by_attribute("PARAMVALUE", "NAME", "Job");
    EXPECT_STREQ(job.attribute("PARAMTYPE").value(), "reference");
    EXPECT_TRUE(job.child("VALUE.REFERENCE"));
    pugi::xml_node seen = rsp.find_child_by_attribute("PARAMVALUE", "NAME", "Seen");
    EXPECT_STREQ(seen.child("VALUE.REFERENCE").child("LOCALINSTANCEPATH").child("INSTANCENAME")
                     .child("KEYBINDING").child("KEYVALUE").text().get(),
                 "w1");

    // An explicit PARAMTYPE wins over the declaration.
    EXPECT_EQ(errorCode(method("Reset", "<PARAMVALUE NAME=\"Mode\" PARAMTYPE=\"string\"><VALUE>3</VALUE></PARAMVALUE>")),
              CMPI_RC_ERR_TYPE_MISMATCH);
    EXPECT_EQ(errorCode(method("Reset", "<PARAMVALUE NAME=\"Mode\"><VALUE>70000</VALUE></PARAMVALUE>")),
              CMPI_RC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(errorCode(method("Reset", "")), CMPI_RC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(errorCode(method("Nothing", "")), CMPI_RC_ERR_METHOD_NOT_FOUND);
    // Provider codes outside the CIM range are still failures, with their text.
    rsp = answer(method("Reset", "<PARAMVALUE NAME=\"Mode\"><VALUE>99</VALUE></PARAMVALUE>"));
    EXPECT_EQ(rsp.child("ERROR").attribute("CODE").as_int(), CMPI_RC_ERR_FAILED);
    EXPECT_STREQ(rsp.child("ERROR").attribute("DESCRIPTION").value(), "system <trouble>");
}

TEST_F(DispatcherTest, GetClassServesDeclarationsOrWhatInstancesShow)
{
    pugi::xml_node rsp = answer(intrinsic("GetClass", param("ClassName", "<CLASSNAME NAME=\"Test_Widget\"/>")));
    pugi::xml_node cls = rsp.child("IRETURNVALUE").child("CLASS");
    EXPECT_STREQ(cls.attribute("SUPERCLASS").value(), "Test_Base");
    EXPECT_TRUE(cls.find_child_by_attribute("PROPERTY", "NAME", "Name").child("QUALIFIER"));
    pugi::xml_node reset = cls.find_child_by_attribute("METHOD", "NAME", "Reset");
    EXPECT_STREQ(reset.find_child_by_attribute("PARAMETER", "NAME", "Mode").attribute("TYPE").value(), "uint16");
    EXPECT_STREQ(reset.find_child_by_attribute("PARAMETER.REFERENCE", "NAME", "Job").attribute("REFERENCECLASS").value(),
                 "CIM_ConcreteJob");

    options.classes = nullptr;
    rsp = answer(intrinsic("GetClass", param("ClassName", "<CLASSNAME NAME=\"Test_Widget\"/>")));
    cls = rsp.child("IRETURNVALUE").child("CLASS");
    EXPECT_STREQ(cls.find_child_by_attribute("PROPERTY", "NAME", "Count").attribute("TYPE").value(), "uint16");
    EXPECT_EQ(errorCode(intrinsic("GetClass", param("ClassName", "<CLASSNAME NAME=\"No_Such\"/>"))),
              CMPI_RC_ERR_NOT_FOUND);
}

TEST_F(DispatcherTest, MalformedMessagesAnswerBadRequest)
{
    EXPECT_EQ(badRequest(""), "request-not-well-formed");
    EXPECT_EQ(badRequest("<CIM><MESSAGE ID=\"1\"><SIMPLEREQ>"), "request-not-well-formed");
    EXPECT_EQ(badRequest(std::string("<CIM>\0</CIM>", 12)), "request-not-well-formed");
    EXPECT_EQ(badRequest("<html><body>hello</body></html>"), "request-not-valid");
    EXPECT_EQ(badRequest("<CIM><MESSAGE ID=\"1\"><SIMPLEREQ/></MESSAGE></CIM>"), "request-not-valid");
    EXPECT_EQ(badRequest("<CIM><MESSAGE><SIMPLEREQ><IMETHODCALL NAME=\"GetClass\"/></SIMPLEREQ></MESSAGE></CIM>"),
              "request-not-valid");
    EXPECT_EQ(badRequest(message("<IMETHODCALL NAME=\"EnumerateInstances\"/>")), "request-not-valid");
    // Entities are not expanded, so a billion laughs stays small.
    EXPECT_EQ(badRequest("<!DOCTYPE x [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;\">]><CIM>&b;</CIM>"),
              "request-not-valid");
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    EXPECT_FALSE(badRequest(deep).empty());
}

TEST_F(DispatcherTest, OperationFaultsAnswerCimErrors)
{
    EXPECT_EQ(errorCode(intrinsic("DeleteClass", param("ClassName", "<CLASSNAME NAME=\"Test_Widget\"/>"))),
              CMPI_RC_ERR_NOT_SUPPORTED);
    EXPECT_EQ(errorCode(intrinsic("EnumerateInstances", "")), CMPI_RC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(errorCode(intrinsic("EnumerateInstances", param("ClassName", "<VALUE>x</VALUE>"))),
              CMPI_RC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(errorCode(intrinsic("EnumerateInstances", param("ClassName", "<CLASSNAME NAME=\"Test_Widget\"/>")
                                                            + param("Bogus", "<VALUE>1</VALUE>"))),
              CMPI_RC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(errorCode(intrinsic("EnumerateInstances", param("ClassName", "<CLASSNAME NAME=\"Test_Widget\"/>")
                                                            + param("LocalOnly", "<VALUE>maybe</VALUE>"))),
              CMPI_RC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(errorCode(intrinsic("GetInstance", "")), CMPI_RC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(errorCode(intrinsic("GetInstance", param("InstanceName", "<INSTANCENAME/>"))),
              CMPI_RC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(errorCode(intrinsic("Associators", "")), CMPI_RC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(errorCode(intrinsic("ModifyInstance", param("ModifiedInstance", w1Name))), CMPI_RC_ERR_INVALID_PARAMETER);
    EXPECT_EQ(errorCode(intrinsic("EnumerateInstances", param("ClassName", "<CLASSNAME NAME=\"No_Such\"/>"))),
              CMPI_RC_ERR_INVALID_CLASS);
    // The failing operation's name and the message id still come back.
    pugi::xml_node rsp = answer(intrinsic("Frobnicate<&>", ""));
    EXPECT_STREQ(rsp.attribute("NAME").value(), "Frobnicate<&>");
}

TEST_F(DispatcherTest, ConcurrentRequestsEachGetTheirOwnAnswer)
{
    std::vector<std::thread> threads;
    std::vector<int> good(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) {
                int status = 0;
                std::string cimError;
                std::string body = t % 2 ? intrinsic("GetInstance", param("InstanceName", w1Name))
                                         : method("Reset", "<PARAMVALUE NAME=\"Mode\"><VALUE>1</VALUE></PARAMVALUE>");
                std::string out = Dispatcher::handleBody(world.broker, body, status, cimError, options);
                pugi::xml_document d;
                if (status == 200 && d.load_string(out.c_str())
                    && !d.child("CIM").child("MESSAGE").child("SIMPLERSP").first_child().child("ERROR"))
                    ++good[static_cast<size_t>(t)];
            }
        });
    for (auto& th : threads)
        th.join();
    for (int g : good)
        EXPECT_EQ(g, 50);
}

TEST_F(DispatcherTest, DamagedBodiesNeverCrash)
{
    std::string target = std::string("<VALUE.REFERENCE><LOCALINSTANCEPATH>") + nsPath + w1Name
                         + "</LOCALINSTANCEPATH></VALUE.REFERENCE>";
    const std::string bodies[] = {
        method("Reset", "<PARAMVALUE NAME=\"Mode\"><VALUE>3</VALUE></PARAMVALUE><PARAMVALUE NAME=\"Target\">" + target
                            + "</PARAMVALUE>"),
        intrinsic("ModifyInstance", param("ModifiedInstance", std::string("<VALUE.NAMEDINSTANCE>") + w1Name
                                                                  + "<INSTANCE CLASSNAME=\"Test_Widget\"><PROPERTY.ARRAY "
                                                                    "NAME=\"Tags\" TYPE=\"string\"><VALUE.ARRAY><VALUE>a"
                                                                    "</VALUE></VALUE.ARRAY></PROPERTY.ARRAY></INSTANCE>"
                                                                    "</VALUE.NAMEDINSTANCE>")),
        intrinsic("References", param("ObjectName", w1Name) + param("ResultClass", "<CLASSNAME NAME=\"Test_WidgetLink\"/>")),
    };
    const char replacements[] = {'<', '>', '"', '/', '\0', 'X', '&'};
    for (const std::string& body : bodies) {
        for (size_t cut = 0; cut < body.size(); cut += 7) {
            int status = 0;
            std::string cimError;
            Dispatcher::handleBody(world.broker, body.substr(0, cut), status, cimError, options);
            EXPECT_TRUE(status == 200 || status == 400);
        }
        for (size_t at = 0; at < body.size(); at += 3)
            for (char c : replacements) {
                std::string damaged = body;
                damaged[at] = c;
                int status = 0;
                std::string cimError;
                std::string out = Dispatcher::handleBody(world.broker, damaged, status, cimError, options);
                ASSERT_TRUE(status == 200 || status == 400) << damaged;
                pugi::xml_document d;
                if (status == 200) {
                    ASSERT_TRUE(d.load_string(out.c_str())) << out;
                }
            }
    }
}

TEST_F(DispatcherTest, ResultsAreConvertedInsideTheRequestsOwnScope)
{
    const std::string enumerate =
        intrinsic("EnumerateInstances", param("ClassName", "<CLASSNAME NAME=\"Test_Widget\"/>"));
    const std::string associators = intrinsic("Associators", param("ObjectName", w1Name));
    answer(enumerate);
    const size_t before = world.broker.ownArena().size();
    for (int i = 0; i < 50; ++i) {
        answer(enumerate);
        answer(associators);
    }
    // Nothing a request made is left to the broker, which keeps it until it ends.
    EXPECT_EQ(world.broker.ownArena().size(), before);
}

TEST_F(DispatcherTest, OnlyServedNamespacesAreAnswered)
{
    options.namespaces = {"root/cimv2"};
    auto inNamespace = [](const std::string& ns, const std::string& name, const std::string& params) {
        std::string path;
        size_t start = 0;
        for (size_t slash; (slash = ns.find('/', start)) != std::string::npos; start = slash + 1)
            path += "<NAMESPACE NAME=\"" + ns.substr(start, slash - start) + "\"/>";
        path += "<NAMESPACE NAME=\"" + ns.substr(start) + "\"/>";
        return message("<IMETHODCALL NAME=\"" + name + "\"><LOCALNAMESPACEPATH>" + path + "</LOCALNAMESPACEPATH>"
                       + params + "</IMETHODCALL>");
    };
    const std::string className = param("ClassName", "<CLASSNAME NAME=\"Test_Widget\"/>");
    EXPECT_EQ(errorCode(inNamespace("root/cimv2", "EnumerateInstances", className)), 0);
    EXPECT_EQ(errorCode(inNamespace("ROOT/CimV2", "EnumerateInstanceNames", className)), 0);
    for (const char* ns : {"root/foo", "../../etc", "interop", "root", "root/cimv2/more"})
        EXPECT_EQ(errorCode(inNamespace(ns, "EnumerateInstances", className)), CMPI_RC_ERR_INVALID_NAMESPACE) << ns;

    // A modification elsewhere reaches no provider.
    auto count = [&]() {
        for (const auto& w : world.widgets.instances())
            if (w.property("Name")->asString() == "w1")
                return w.property("Count")->asUnsigned();
        return 0ull;
    };
    const std::string modify = param("ModifiedInstance",
                                     std::string("<VALUE.NAMEDINSTANCE>") + w1Name
                                         + "<INSTANCE CLASSNAME=\"Test_Widget\"><PROPERTY NAME=\"Count\" TYPE=\"uint16\">"
                                           "<VALUE>7</VALUE></PROPERTY></INSTANCE></VALUE.NAMEDINSTANCE>");
    EXPECT_EQ(errorCode(inNamespace("interop", "ModifyInstance", modify)), CMPI_RC_ERR_INVALID_NAMESPACE);
    EXPECT_EQ(count(), 1u);
    EXPECT_EQ(errorCode(inNamespace("root/cimv2", "ModifyInstance", modify)), 0);
    EXPECT_EQ(count(), 7u);
}

TEST_F(DispatcherTest, SuperclassEnumerationsReachServedSubclasses)
{
    world.broker.registerClass("Test_Widget", "Test_Base");
    world.broker.registerClass("Test_Base", "CIM_Thing");
    const std::string base = intrinsic("EnumerateInstanceNames", param("ClassName", "<CLASSNAME NAME=\"Test_Base\"/>"));
    const std::string top = intrinsic("EnumerateInstances", param("ClassName", "<CLASSNAME NAME=\"CIM_Thing\"/>"));
    options.instanceClasses = {"Test_Widget", "Test_WidgetLink"};
    for (const std::string& body : {base, top}) {
        pugi::xml_node rv = answer(body).child("IRETURNVALUE");
        size_t widgets = 0;
        for (pugi::xml_node n : rv.children()) {
            pugi::xml_node name = n.child("INSTANCENAME") ? n.child("INSTANCENAME") : n;
            widgets += std::string(name.attribute("CLASSNAME").value()) == "Test_Widget" ? 1 : 0;
        }
        EXPECT_EQ(widgets, 2u) << body;
    }
    // A class nobody serves, above or below, stays unknown.
    EXPECT_EQ(errorCode(intrinsic("EnumerateInstances", param("ClassName", "<CLASSNAME NAME=\"CIM_Other\"/>"))),
              CMPI_RC_ERR_INVALID_CLASS);
}

TEST_F(DispatcherTest, ErrorTextsQuoteTheClientOnlyBriefly)
{
    cimhost::cimxml::Operation op;
    op.messageId = "1";
    op.name = "GetInstance";
    std::string out = Dispatcher::errorResponse(op, CMPI_RC_ERR_NOT_FOUND, "no <" + std::string(100000, 'x') + ">");
    EXPECT_LT(out.size(), 800u);
    EXPECT_NE(out.find("no &lt;xxx"), std::string::npos) << out;
    // Cut between whole characters.
    std::string doubled;
    for (int i = 0; i < 500; ++i)
        doubled += "\xC3\xA9";
    out = Dispatcher::errorResponse(op, CMPI_RC_ERR_NOT_FOUND, doubled);
    EXPECT_TRUE(doc.load_string(out.c_str()));
    std::string description = doc.child("CIM").child("MESSAGE").child("SIMPLERSP").first_child().child("ERROR")
                                  .attribute("DESCRIPTION").value();
    EXPECT_LT(description.size(), 200u);
    EXPECT_EQ(description.find("\xC3."), std::string::npos) << "a character was cut in two";

    const std::string longClass = std::string(100000, 'C');
    pugi::xml_node e = answer(intrinsic("EnumerateInstances", param("ClassName", "<CLASSNAME NAME=\"" + longClass + "\"/>")))
                           .child("ERROR");
    EXPECT_EQ(e.attribute("CODE").as_int(), CMPI_RC_ERR_INVALID_CLASS);
    EXPECT_LT(std::string(e.attribute("DESCRIPTION").value()).size(), 200u);
    EXPECT_EQ(badRequest(message("<IMETHODCALL NAME=\"" + longClass + "\">" + nsPath + "</IMETHODCALL>")),
              "request-not-valid");
}

TEST_F(DispatcherTest, RepeatedAndExcessItemsAreRefused)
{
    const std::string mode = "<PARAMVALUE NAME=\"Mode\" PARAMTYPE=\"uint16\"><VALUE>1</VALUE></PARAMVALUE>";
    EXPECT_EQ(errorCode(method("Reset", mode)), 0);
    EXPECT_EQ(errorCode(method("Reset", mode + "<PARAMVALUE NAME=\"MODE\"><VALUE>2</VALUE></PARAMVALUE>")),
              CMPI_RC_ERR_INVALID_PARAMETER);
    std::string many = mode;
    for (int i = 0; i < 256; ++i)
        many += "<PARAMVALUE NAME=\"p" + std::to_string(i) + "\"/>";
    EXPECT_EQ(errorCode(method("Reset", many)), CMPI_RC_ERR_INVALID_PARAMETER);

    auto getWith = [&](const std::string& keys) {
        return intrinsic("GetInstance", param("InstanceName", "<INSTANCENAME CLASSNAME=\"Test_Widget\">" + keys
                                                                  + "</INSTANCENAME>"));
    };
    auto key = [](const std::string& name, const std::string& value) {
        return "<KEYBINDING NAME=\"" + name + "\"><KEYVALUE>" + value + "</KEYVALUE></KEYBINDING>";
    };
    EXPECT_EQ(errorCode(getWith(key("Name", "w1"))), 0);
    EXPECT_EQ(errorCode(getWith(key("Name", "w1") + key("name", "w2"))), CMPI_RC_ERR_INVALID_PARAMETER);
    std::string keys = key("Name", "w1");
    for (int i = 0; i < 64; ++i)
        keys += key("k" + std::to_string(i), "1");
    EXPECT_EQ(errorCode(getWith(keys)), CMPI_RC_ERR_INVALID_PARAMETER);

    // A property given again replaces the earlier value; too many are refused.
    auto modify = [&](const std::string& properties) {
        return intrinsic("ModifyInstance", param("ModifiedInstance", std::string("<VALUE.NAMEDINSTANCE>") + w1Name
                                                                         + "<INSTANCE CLASSNAME=\"Test_Widget\">"
                                                                         + properties + "</INSTANCE></VALUE.NAMEDINSTANCE>"));
    };
    auto count = [](const std::string& value) {
        return "<PROPERTY NAME=\"Count\" TYPE=\"uint16\"><VALUE>" + value + "</VALUE></PROPERTY>";
    };
    EXPECT_EQ(errorCode(modify(count("3") + count("4"))), 0);
    for (const auto& w : world.widgets.instances()) {
        if (w.property("Name")->asString() == "w1") {
            EXPECT_EQ(w.property("Count")->asUnsigned(), 4u);
        }
    }
    std::string properties;
    for (int i = 0; i < 1025; ++i)
        properties += "<PROPERTY NAME=\"P" + std::to_string(i) + "\"><VALUE>x</VALUE></PROPERTY>";
    EXPECT_EQ(errorCode(modify(properties)), CMPI_RC_ERR_INVALID_PARAMETER);
}
