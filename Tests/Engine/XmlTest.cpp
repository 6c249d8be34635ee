#include "Engine/Xml.h"

#include "Engine/DataFile.h"
#include "Engine/Error.h"
#include "Support/Capture.h"
#include "Support/TempDirectory.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{

// A document named like a data file, parsed from the text.
std::unique_ptr<TiXmlDocument> Parse(const char* text, const char* name = "Data/Root.xml")
{
    auto document = std::make_unique<TiXmlDocument>(name);
    document->Parse(text);
    EXPECT_FALSE(document->Error()) << document->ErrorDesc();
    return document;
}

} // namespace

TEST(XmlTest, OptionalAttributesKeepTheirDefaultUnlessReadable)
{
    struct Case
    {
        const char* text;
        int integer;
        float real;
        bool flag;
    };
    // Defaults: 7, 0.5, and true for the flag.
    const Case cases[] = {
        {"12", 12, 12, true},     {"3.7", 3, 3.7f, true},
        {" 5", 5, 5, true},       {"12px", 12, 12, true},
        {"-1e2", -1, -100, true}, {"letters", 7, 0.5f, true},
        {"", 7, 0.5f, true},      {"inf", 7, 0.5f, true},
        {"nan", 7, 0.5f, true},   {"99999999999", 7, 1e11f, true},
        {"TRUE", 7, 0.5f, true},  {"false", 7, 0.5f, false},
        {"yes", 7, 0.5f, true},
    };
    for (const Case& c : cases)
    {
        TiXmlElement element("texture");
        element.SetAttribute("value", c.text);
        int integer = 0;
        XmlGetInt(&element, "value", integer, 7);
        EXPECT_EQ(c.integer, integer) << c.text;
        float real = 0;
        XmlGetFloat(&element, "value", real, 0.5f);
        EXPECT_FLOAT_EQ(c.real, real) << c.text;
        double precise = 0;
        XmlGetDouble(&element, "value", precise, 0.5f);
        EXPECT_FLOAT_EQ(c.real, static_cast<float>(precise)) << c.text;
        EXPECT_EQ(c.flag, XmlGetBool(&element, "value", true)) << c.text;
        bool flag = false;
        XmlGetBool(&element, "value", flag, true);
        EXPECT_EQ(c.flag, flag) << c.text;
    }

    const TiXmlElement absent("texture");
    int integer = 0;
    XmlGetInt(&absent, "value", integer, 7);
    EXPECT_EQ(7, integer);
    EXPECT_FALSE(XmlGetBool(&absent, "value", false));
}

TEST(XmlTest, TextAttributes)
{
    TiXmlElement element("include");
    element.SetAttribute("type", "");
    element.SetAttribute("file", "Ui/Menu.xml");

    EXPECT_EQ("", XmlGetAttribute(&element, "type", "default"));
    EXPECT_EQ("default", XmlGetAttribute(&element, "Type", "default"));
    std::string text;
    XmlGetString(&element, "file", text, "default");
    EXPECT_EQ("Ui/Menu.xml", text);
    XmlGetString(&element, "name", text, "default");
    EXPECT_EQ("default", text);
    EXPECT_STREQ("Ui/Menu.xml", XmlRequireAttribute(&element, "file"));
    XmlRequireString(&element, "type", text);
    EXPECT_EQ("", text);
}

TEST(XmlTest, RequiredAttributesNameTheFileAndLine)
{
    const auto document =
        Parse("<Root>\n\n  <include type=\"ui\" size=\"abc\" on=\"TRUE\"/>\n</Root>");
    const TiXmlElement* element = document->RootElement()->FirstChildElement();

    EXPECT_EQ("Missing attribute 'file' in:\nData/Root.xml, line 3",
              ErrorOf([&] { XmlRequireAttribute(element, "file"); }));
    int integer = 4;
    EXPECT_EQ("Missing attribute 'file' in:\nData/Root.xml, line 3",
              ErrorOf([&] { XmlRequireInt(element, "file", integer); }));

    float real = 2.5f;
    XmlRequireFloat(element, "size", real);
    EXPECT_EQ(2.5f, real);
    double precise = 2.5;
    XmlRequireDouble(element, "size", precise);
    EXPECT_EQ(2.5, precise);
    XmlRequireInt(element, "size", integer);
    EXPECT_EQ(4, integer);

    EXPECT_TRUE(XmlRequireBool(element, "on"));
    EXPECT_FALSE(XmlRequireBool(element, "type"));
    bool flag = false;
    XmlRequireBool(element, "on", flag);
    EXPECT_TRUE(flag);
    XmlRequireBool(element, "type", flag);
    EXPECT_TRUE(flag);
}

TEST(XmlTest, RequiredChildrenAreDirectElementsOfTheExactName)
{
    const auto document = Parse("<Root>\n<resource>texture<Texture/>\n<group><texture/></group>"
                                "</resource>\n<resource>texture<texture/></resource></Root>");
    const TiXmlElement* first = document->RootElement()->FirstChildElement();
    const TiXmlElement* second = first->NextSiblingElement();

    EXPECT_EQ("Missing 'texture' element! in:\nData/Root.xml, line 2",
              ErrorOf([&] { XmlRequireChild(first, "texture", true); }));
    EXPECT_EQ(nullptr, XmlRequireChild(first, "texture", false));
    const TiXmlElement* found = XmlRequireChild(second, "texture", true);
    ASSERT_NE(nullptr, found);
    EXPECT_EQ("texture", found->ValueStr());
}

TEST(XmlTest, ErrorsOutsideADocumentHaveNoFileOrLine)
{
    const auto document = Parse("<Root>\n<resource name=\"a\"/></Root>");
    const TiXmlElement* inDocument = document->RootElement()->FirstChildElement();
    EXPECT_EQ("Data/Root.xml, line 2", XmlLocation(inDocument));
    EXPECT_EQ("Data/Root.xml", XmlDocumentName(inDocument));

    const std::unique_ptr<TiXmlNode> copy(inDocument->Clone());
    EXPECT_EQ("<unknown>, line 0", XmlLocation(copy.get()));
    EXPECT_EQ("<unknown>", XmlDocumentName(copy.get()));
    EXPECT_EQ("Bad 'x' value in:\n<unknown>, line 0",
              ErrorOf([&] { XmlError(copy.get(), "Bad '", "x", "' value"); }));
    EXPECT_EQ("one in:\n<unknown>, line 0", ErrorOf([&] { XmlError(copy.get(), "one"); }));
}

TEST(XmlTest, WarningsArePrinted)
{
    const auto document = Parse("<Root>\n\n<Sparkle/></Root>", "Data/Ui/Menu.xml");
    testing::internal::CaptureStdout();
    XmlUnknownTag(document->RootElement()->FirstChildElement());
    XmlUnknownValue("texture", "format", "rgb5");
    EXPECT_EQ("Unknown XML tag 'Sparkle', in file 'Data/Ui/Menu.xml' line 3\n"
              "Unknown attribute value 'rgb5' in '<texture ... format='rgb5' ...>'\n",
              testing::internal::GetCapturedStdout());
}

TEST(XmlTest, VectorsKeepTheComponentsTheyDoNotFind)
{
    TiXmlElement element("position");
    element.SetAttribute("x", "1.5");
    element.SetAttribute("z", "oops");
    float vector[3] = {7, 8, 9};
    XmlReadVector(&element, vector);
    EXPECT_EQ(1.5f, vector[0]);
    EXPECT_EQ(8, vector[1]);
    EXPECT_EQ(9, vector[2]);
}

TEST(XmlTest, LoadFileReadsDataFilesAndReportsFaults)
{
    TempDirectory dir;
    CreateFileMutex();
    WriteTextFile("Data/Root.xml", "<Root><MenuData/></Root>");
    WriteTextFile("Data/Broken.xml", "<Root>\n<MenuData>\n</Root>");

    TiXmlDocument document("Data/Root.xml");
    XmlLoadFile("Data/Root.xml", document);
    ASSERT_NE(nullptr, document.RootElement());
    EXPECT_NE(nullptr, XmlRequireChild(document.RootElement(), "MenuData", true));

    TiXmlDocument other("Data/Broken.xml");
    EXPECT_EQ("XML filename was not specified!", ErrorOf([&] { XmlLoadFile("", other); }));
    EXPECT_EQ("Can't open file 'Data/None.xml'",
              ErrorOf([&] { XmlLoadFile("Data/None.xml", other); }));
    const std::string parseError = ErrorOf([&] { XmlLoadFile("Data/Broken.xml", other); });
    EXPECT_EQ(0u, parseError.find("XML parsing error '")) << parseError;
    // The document is located, not the fault within it.
    EXPECT_NE(std::string::npos, parseError.find("' in:\nData/Broken.xml, line 1")) << parseError;
    DestroyFileMutex();
}

// The parser needs many times a document's size, so a document larger than
// any data file of the game is refused before it is parsed.
TEST(XmlTest, LoadFileRefusesADocumentLargerThanAnyDataFile)
{
    TempDirectory dir;
    CreateFileMutex();
    const std::string element = "<frame/>";
    for (const std::size_t size : {MaxXmlBytes, MaxXmlBytes + 1})
    {
        std::string text = "<Ui>" + std::string(size - 9, ' ') + "</Ui>";
        text.replace(4, element.size(), element);
        ASSERT_EQ(size, text.size());
        WriteTextFile("Data/Big.xml", text);
        TiXmlDocument document("Data/Big.xml");
        const std::string error = ErrorOf([&] { XmlLoadFile("Data/Big.xml", document); });
        if (size == MaxXmlBytes)
        {
            EXPECT_EQ("no error", error);
            EXPECT_NE(nullptr, document.RootElement()->FirstChildElement("frame"));
        }
        else
        {
            EXPECT_EQ("XML parsing error 'the document is larger than the 4 MB an XML file may "
                      "have' in:\nData/Big.xml, line 0",
                      error);
            EXPECT_EQ(nullptr, document.FirstChild());
        }
    }
    DestroyFileMutex();
}

// Texts the parser reads without an error, though they hold no document or
// lost part of it to a comment that does not end.
TEST(XmlTest, LoadFileRefusesATextWithoutADocument)
{
    TempDirectory dir;
    CreateFileMutex();
    const struct
    {
        const char* text;
        const char* problem;
        const char* location; // the document's: line 1 once it was parsed
    } cases[] = {
        {"<!-- the buttons\n<Ui><Frame/></Ui>", "a comment left open at line 1", "line 0"},
        {"<Ui/>\n<!-- the end", "a comment left open at line 2", "line 0"},
        {"<", "no root element", "line 1"},
        {"<?xml version=\"1.0\" ?><!-- only a comment -->", "no root element", "line 1"},
    };
    for (const auto& c : cases)
    {
        WriteTextFile("Data/Bad.xml", c.text);
        TiXmlDocument document("Data/Bad.xml");
        EXPECT_EQ(std::string("XML parsing error '") + c.problem + "' in:\nData/Bad.xml, " +
                      c.location,
                  ErrorOf([&] { XmlLoadFile("Data/Bad.xml", document); }))
            << c.text;
    }
    DestroyFileMutex();
}

// A UTF-8 lead byte just before the end of the text: TinyXML steps over the
// whole character and used to read on past the end, here into an element
// that stands behind a NUL.
TEST(XmlTest, ParsingEndsAtTheEndOfTheText)
{
    const std::string beyond = std::string("\0\0\0<B/>", 7);
    for (const std::string text : {std::string("\xef\xbb\xbf<A>\xf0"),
                                   std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><A>x\xe2")})
    {
        SCOPED_TRACE(text);
        const std::string memory = text + beyond;
        TiXmlDocument document;
        XmlParse(document, memory.c_str());
        EXPECT_TRUE(document.Error());
        const TiXmlElement* const a = document.FirstChildElement("A");
        EXPECT_TRUE(a == nullptr || a->FirstChildElement("B") == nullptr);
    }
}
