#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "ClassCatalog.h"
#include "Codec.h"

using cimhost::InstanceSpec;
using cimhost::PathSpec;
using cimhost::Value;
using cimhost::cimxml::ClassCatalog;
using cimhost::cimxml::Codec;

namespace {

pugi::xml_node parse(pugi::xml_document& doc, const std::string& text)
{
    EXPECT_TRUE(doc.load_string(text.c_str())) << text;
    return doc.document_element();
}

Value roundTrip(const Value& v)
{
    std::string xml;
    Codec::writeValue(xml, v);
    pugi::xml_document doc;
    Value back;
    std::string error;
    EXPECT_TRUE(Codec::readValue(parse(doc, xml), v.type, back, error)) << xml << ": " << error;
    return back;
}

} // namespace

TEST(CodecValues, EveryTypeSurvivesWritingAndReading)
{
    PathSpec ref;
    ref.nameSpace = "root/cimv2";
    ref.className = "Test_Widget";
    ref.keys.emplace_back("Name", Value::string("a\"b"));
    const Value values[] = {
        Value::string("plain <&> \"quoted\" 'single'\ttab\nline"),
        Value::boolValue(true),
        Value::uint8(255),
        Value::uint16(65535),
        Value::uint32(4294967295ul),
        Value::uint64(18446744073709551615ull),
        Value::sint8(-128),
        Value::sint16(-32768),
        Value::sint32(-2147483647l - 1),
        Value::sint64(-9223372036854775807ll - 1),
        Value::real64(0.1),
        Value::real32(1.5f),
        Value::char16(0xE9),
        Value::dateTime("20261207034500.000000+000"),
        Value::reference(ref),
        Value::stringArray({"a", "", "<c>"}),
        Value::uint16Array({1, 2, 3}),
        Value::array(CMPI_ref, {Value::reference(ref)}),
    };
    for (const Value& v : values) {
        Value back = roundTrip(v);
        EXPECT_EQ(back.type, v.type) << v.toText();
        EXPECT_EQ(back, v) << v.toText() << " came back as " << back.toText();
    }
}

TEST(CodecValues, OutOfRangeAndMalformedScalarsAreRefused)
{
    Value v;
    std::string error;
    EXPECT_FALSE(Codec::readScalar("256", CMPI_uint8, v, error));
    EXPECT_FALSE(Codec::readScalar("-1", CMPI_uint16, v, error));
    EXPECT_FALSE(Codec::readScalar("4294967296", CMPI_uint32, v, error));
    EXPECT_FALSE(Codec::readScalar("18446744073709551616", CMPI_uint64, v, error));
    EXPECT_FALSE(Codec::readScalar("128", CMPI_sint8, v, error));
    EXPECT_FALSE(Codec::readScalar("--1", CMPI_sint32, v, error));
    EXPECT_FALSE(Codec::readScalar("12abc", CMPI_uint32, v, error));
    EXPECT_FALSE(Codec::readScalar("", CMPI_uint16, v, error));
    EXPECT_FALSE(Codec::readScalar("yes", CMPI_boolean, v, error));
    EXPECT_FALSE(Codec::readScalar("1e999", CMPI_real64, v, error));
    EXPECT_FALSE(Codec::readScalar("nan", CMPI_real64, v, error));
    EXPECT_FALSE(Codec::readScalar("2026-12-07", CMPI_dateTime, v, error));
    EXPECT_FALSE(error.empty());
    ASSERT_TRUE(Codec::readScalar("-9223372036854775808", CMPI_sint64, v, error));
    EXPECT_EQ(v.asSigned(), -9223372036854775807ll - 1);
    ASSERT_TRUE(Codec::readScalar(" 0x1F ", CMPI_uint8, v, error));
    EXPECT_EQ(v.asUnsigned(), 31u);
    ASSERT_TRUE(Codec::readScalar("true", CMPI_boolean, v, error));
    EXPECT_TRUE(v.asBool());
}

TEST(CodecText, EscapingKeepsOutputWellFormed)
{
    std::string nasty = std::string("a<b>&\"'") + '\x01' + "\xff" + "\xc3\xa9" + "]]>";
    std::string xml = "<VALUE>" + Codec::escape(nasty) + "</VALUE>";
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(xml.c_str()));
    // Control characters and broken UTF-8 cannot travel in XML 1.0.
    EXPECT_EQ(std::string(doc.child("VALUE").text().get()), "a<b>&\"'??\xc3\xa9]]>");
}

TEST(CodecPaths, InstanceNamesWithReferenceKeysRoundTrip)
{
    PathSpec inner;
    inner.nameSpace = "root/cimv2";
    inner.className = "Test_Widget";
    inner.keys.emplace_back("Name", Value::string("w1"));
    PathSpec link;
    link.className = "Test_WidgetLink";
    link.keys.emplace_back("Antecedent", Value::reference(inner));
    link.keys.emplace_back("Count", Value::uint16(7));
    link.keys.emplace_back("On", Value::boolValue(false));
    std::string xml;
    Codec::writeInstanceName(xml, link);
    pugi::xml_document doc;
    PathSpec back;
    std::string error;
    ASSERT_TRUE(Codec::readInstanceName(parse(doc, xml), back, error)) << error;
    EXPECT_EQ(back.className, "Test_WidgetLink");
    ASSERT_EQ(back.keys.size(), 3u);
    ASSERT_NE(back.key("Antecedent")->asReference(), nullptr);
    EXPECT_EQ(back.key("Antecedent")->asReference()->nameSpace, "root/cimv2");
    EXPECT_EQ(*back.key("Antecedent")->asReference()->key("Name"), Value::string("w1"));
    EXPECT_EQ(*back.key("Count"), Value::uint16(7));
    EXPECT_EQ(*back.key("On"), Value::boolValue(false));
}

TEST(CodecPaths, DeeplyNestedReferencesAreRefused)
{
    std::string xml;
    for (int i = 0; i < 40; ++i)
        xml += "<INSTANCENAME CLASSNAME=\"C\"><KEYBINDING NAME=\"R\"><VALUE.REFERENCE>";
    xml += "<INSTANCENAME CLASSNAME=\"C\"/>";
    for (int i = 0; i < 40; ++i)
        xml += "</VALUE.REFERENCE></KEYBINDING></INSTANCENAME>";
    pugi::xml_document doc;
    PathSpec back;
    std::string error;
    EXPECT_FALSE(Codec::readInstanceName(parse(doc, xml), back, error));
    EXPECT_NE(error.find("deep"), std::string::npos);
}

TEST(CodecInstances, UntypedPropertiesTakeTheCatalogsType)
{
    ClassCatalog catalog;
    std::string error;
    ASSERT_TRUE(catalog.addMof("class Base { [Key] string Name; uint16 Count; };\n"
                               "class Derived : Base { boolean Enabled; };",
                               &error))
        << error;
    pugi::xml_document doc;
    InstanceSpec inst;
    ASSERT_TRUE(Codec::readInstance(
        parse(doc, "<INSTANCE CLASSNAME=\"Derived\"><PROPERTY NAME=\"Count\"><VALUE>12</VALUE></PROPERTY>"
                   "<PROPERTY NAME=\"Enabled\"><VALUE>TRUE</VALUE></PROPERTY>"
                   "<PROPERTY NAME=\"Other\"><VALUE>12</VALUE></PROPERTY>"
                   "<PROPERTY NAME=\"Null\" TYPE=\"uint32\"/></INSTANCE>"),
        &catalog, inst, error))
        << error;
    EXPECT_EQ(inst.property("Count")->type, CMPI_uint16);
    EXPECT_EQ(inst.property("Enabled")->type, CMPI_boolean);
    EXPECT_EQ(inst.property("Other")->type, CMPI_string);
    EXPECT_TRUE(inst.property("Null")->isNull());

    pugi::xml_document bad;
    EXPECT_FALSE(Codec::readInstance(
        parse(bad, "<INSTANCE CLASSNAME=\"Derived\"><PROPERTY NAME=\"Count\"><VALUE>x</VALUE></PROPERTY></INSTANCE>"),
        &catalog, inst, error));
}

TEST(CatalogMof, MethodsInheritanceAndFaults)
{
    ClassCatalog catalog;
    std::string error;
    ASSERT_TRUE(catalog.addMof("[Description(\"a ; b { c\")] class A { [Key] string Id;\n"
                               "  uint32 Go([In] uint16 Mode, [In(false), Out] CIM_Job REF Job, [In] string L[]); };\n"
                               "class B : A { uint32 Stop(); };",
                               &error))
        << error;
    CMPIType type;
    ASSERT_TRUE(catalog.parameterType("b", "go", "mode", type));
    EXPECT_EQ(type, CMPI_uint16);
    ASSERT_TRUE(catalog.parameterType("B", "Go", "L", type));
    EXPECT_EQ(type, CMPI_string | CMPI_ARRAY);
    cimhost::cimxml::ClassDecl flat;
    ASSERT_TRUE(catalog.flattened("B", flat));
    ASSERT_EQ(flat.methods.size(), 2u);
    ASSERT_EQ(flat.properties.size(), 1u);
    EXPECT_TRUE(flat.properties[0].key);
    const auto* go = &flat.methods[1];
    ASSERT_EQ(go->parameters.size(), 3u);
    EXPECT_FALSE(go->parameters[1].in);
    EXPECT_TRUE(go->parameters[1].out);
    EXPECT_EQ(go->parameters[1].referenceClass, "CIM_Job");

    EXPECT_FALSE(catalog.addMof("class C {\n  string X;\n  flubber Y;\n};", &error));
    EXPECT_NE(error.find("line 3"), std::string::npos) << error;
    EXPECT_FALSE(catalog.addMof(std::string(100000, '[') , &error));
    EXPECT_FALSE(catalog.addMof("class D { string X; ", &error));

    // A cycle among superclasses must not hang lookups.
    ClassCatalog cyclic;
    ASSERT_TRUE(cyclic.addMof("class P : Q { string A; }; class Q : P { string B; };", &error));
    EXPECT_FALSE(cyclic.propertyType("P", "missing", type));
    ASSERT_TRUE(cyclic.flattened("P", flat));
}
