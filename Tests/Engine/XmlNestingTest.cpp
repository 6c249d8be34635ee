#include "Engine/XmlNesting.h"

#include "Engine/DataFile.h"
#include "Engine/Error.h"
#include "Engine/Xml.h"
#include "Support/Capture.h"
#include "Support/TempDirectory.h"

#include <gtest/gtest.h>

namespace
{

std::string Repeat(const std::string& text, int count)
{
    std::string result;
    for (int i = 0; i < count; ++i)
        result += text;
    return result;
}

} // namespace

// Counted against a limit of 2: what stands inside comments, CDATA,
// declarations, instructions and attribute values opens nothing.
TEST(XmlNestingTest, OnlyElementsCount)
{
    struct Case
    {
        const char* text;
        const char* problem;
    };
    const Case cases[] = {
        {"<a><b/></a>", ""},
        {"<a><b><c/></b></a>", ""},
        {"<a><b></b><c></c></a>", ""},
        {"<a><b><c></c></b></a>", "elements nested deeper than 2 at line 1"},
        {"<a>\n<b>\n<c>", "elements nested deeper than 2 at line 3"},
        {"<a><b><!-- <c><d> --></b></a>", ""},
        {"<a><b><![CDATA[ <c><d> ]]></b></a>", ""},
        {"<?xml version=\"1.0\" encoding='UTF-8' ?><a><b/></a>", ""},
        {"<!DOCTYPE a><?pi <c> ?><a><b/></a>", ""},
        {"<a x=\"<\"/>", "'<' inside an attribute value at line 1"},
        {"<a x=\"/>\" y='>'><b/></a>", ""},
        {"<a x = \"1\"><b><c/></b></a>", ""},
        {"<a><b x=\"1\"/><c x='2'></c></a>", ""},
        {"<a><b><_c>", "elements nested deeper than 2 at line 1"},
        {"<a><b><\xc3\xa9>", "elements nested deeper than 2 at line 1"},
        // Closing tags beyond the open elements take nothing off the count.
        {"</x></x></x><a><b><c>", "elements nested deeper than 2 at line 1"},
        // Where the parser and the count could read a text apart, it is refused.
        {"<a x=y\"<!--\"><b><c> -->", "a quote outside an attribute value at line 1"},
        {"<a <!-- ><b><c> -->", "'<' inside a tag at line 1"},
        {"<?xml v=\"> <!-- \"?><a><b><c> -->", "'>' inside an attribute value at line 1"},
        {"<?xml x\"y\"?>", "a quote outside an attribute value at line 1"},
        // The parser would take the rest of the text for the comment.
        {"<a><b><!-- <c><d>", "a comment left open at line 1"},
        {"<a/>\n<!-- -- >", "a comment left open at line 2"},
        // Texts that end inside another construct: the parser stops there too.
        {"<a><b x=\"<c><d>", "'<' inside an attribute value at line 1"},
        {"<a><b", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.problem, CheckXmlNesting(c.text, 2)) << c.text;
}

TEST(XmlNestingTest, TheDefaultLimitIs256)
{
    EXPECT_EQ("", CheckXmlNesting(Repeat("<a>", 256).c_str()));
    EXPECT_EQ("elements nested deeper than 256 at line 1",
              CheckXmlNesting(Repeat("<a>", 257).c_str()));
}

// The parser looks each attribute up among those before it: an element of
// 100,000 attributes took it minutes. Values may hold any number of '='.
TEST(XmlNestingTest, ATagOfMoreThan256AttributesIsRefused)
{
    std::string attributes;
    for (int i = 0; i < 256; ++i)
        attributes += " a" + std::to_string(i) + "='" + Repeat("=", 3) + "'";
    EXPECT_EQ("", CheckXmlNesting(("<a" + attributes + "/>").c_str()));
    EXPECT_EQ("more than 256 attributes in one tag at line 2",
              CheckXmlNesting(("<r>\n<a" + attributes + " b=\"1\"/></r>").c_str()));
}

// Without the check the parser overflows the stack on this document.
TEST(XmlNestingTest, DataFilesNestedTooDeepAreRefusedBeforeTheyAreParsed)
{
    const TempDirectory dir;
    CreateFileMutex();
    WriteTextFile("Data/Deep.xml", Repeat("<Ui>", 100000));
    TiXmlDocument document("Data/Deep.xml");
    EXPECT_EQ("XML parsing error 'elements nested deeper than 256 at line 1' in:\n"
              "Data/Deep.xml, line 0",
              ErrorOf([&] { XmlLoadFile("Data/Deep.xml", document); }));
    DestroyFileMutex();
}
