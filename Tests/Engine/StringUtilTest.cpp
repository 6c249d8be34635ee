#include "Engine/StringUtil.h"

#include <gtest/gtest.h>

TEST(StringUtilTest, BooleansAcceptBothWordsInAnyCaseAndNothingElse)
{
    struct Case
    {
        const char* text;
        bool fromFalse;
        bool fromTrue;
    };
    const Case cases[] = {
        {"true", true, true},    {"TRUE", true, true},    {"tRuE", true, true},
        {"false", false, false}, {"False", false, false}, {"yes", false, true},
        {"", false, true},       {"true ", false, true},  {"1", false, true},
    };
    for (const Case& c : cases)
    {
        bool value = false;
        StringToBool(std::string(c.text), value);
        EXPECT_EQ(c.fromFalse, value) << c.text;
        value = true;
        StringToBool(c.text, value);
        EXPECT_EQ(c.fromTrue, value) << c.text;
        EXPECT_EQ(c.fromFalse, ParseBool(c.text)) << c.text;
        EXPECT_EQ(c.fromFalse, ParseBool(std::string(c.text))) << c.text;
    }

    bool value = true;
    StringToBool(static_cast<const char*>(nullptr), value);
    EXPECT_TRUE(value);
    EXPECT_FALSE(ParseBool(static_cast<const char*>(nullptr)));
    EXPECT_STREQ("true", BoolToString(true));
    EXPECT_STREQ("false", BoolToString(false));
}

TEST(StringUtilTest, NumbersAreTheLeadingDecimalNumber)
{
    struct Case
    {
        const char* text;
        bool isNumber;
        int integer;
        double real;
    };
    const Case cases[] = {
        {"12", true, 12, 12},     {"12px", true, 12, 12}, {" 5", true, 5, 5},
        {"-7", true, -7, -7},     {"+3", true, 3, 3},     {"3.7", true, 3, 3.7},
        {"1.5e3", true, 1, 1500}, {"abc", false, 0, 0},   {"", false, 0, 0},
        {"-", false, 0, 0},
    };
    for (const Case& c : cases)
    {
        int integer = 99;
        EXPECT_EQ(c.isNumber, StringToInt(c.text, integer)) << c.text;
        EXPECT_EQ(c.isNumber ? c.integer : 99, integer) << c.text;
        double real = 99;
        EXPECT_EQ(c.isNumber, StringToDouble(c.text, real)) << c.text;
        EXPECT_DOUBLE_EQ(c.isNumber ? c.real : 99, real) << c.text;
        float single = 99;
        EXPECT_EQ(c.isNumber, StringToFloat(c.text, single)) << c.text;
        EXPECT_FLOAT_EQ(c.isNumber ? static_cast<float>(c.real) : 99, single) << c.text;
    }
}

TEST(StringUtilTest, NumbersOutOfRangeOrNotFiniteLeaveTheValue)
{
    struct Case
    {
        const char* text;
        bool isInt;
        bool isDouble;
        bool isFloat;
    };
    const Case cases[] = {
        {"2147483647", true, true, true},   {"2147483648", false, true, true},
        {"-2147483649", false, true, true}, {"99999999999999999999", false, true, true},
        {"1e39", true, true, false},        {"1e999", true, false, false},
        {"inf", false, false, false},       {"-infinity", false, false, false},
        {"nan", false, false, false},       {"NAN(1)", false, false, false},
    };
    for (const Case& c : cases)
    {
        int integer = 4;
        double real = 4;
        float single = 4;
        EXPECT_EQ(c.isInt, StringToInt(c.text, integer)) << c.text;
        EXPECT_EQ(c.isDouble, StringToDouble(c.text, real)) << c.text;
        EXPECT_EQ(c.isFloat, StringToFloat(c.text, single)) << c.text;
        EXPECT_EQ(c.isInt, integer != 4) << c.text;
        EXPECT_EQ(c.isDouble, real != 4) << c.text;
        EXPECT_EQ(c.isFloat, single != 4) << c.text;
    }
}

TEST(StringUtilTest, NormalizePath)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Data/Ui/../Fonts/a.png", "Data/Fonts/a.png"},
        {"a/b/c/../../d", "a/d"},
        {"Data\\Ui\\..\\Fonts\\a.png", "Data/Fonts/a.png"},
        {"Data/Textures/a.png", "Data/Textures/a.png"},
        {"Data/Ui/..x/a", "Datax/a"},
        {"Data//../x", "Data/x"},
        {"..x/y", "..x/y"},
        {"/a/../x", "/x"},
        {"", ""},
        // With nothing before it to remove, a ".." stays where it is.
        {"../x", "../x"},
        {"Data/../x", "Data/../x"},
        {"a/b/../../../x", "a/../../x"},
        {"/../x", "/../x"},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(expected, NormalizePath(path)) << path;
}

TEST(StringUtilTest, DirectoryAndExtension)
{
    EXPECT_EQ("Data/Ui/", GetDirectory("Data/Ui/Menu.xml"));
    EXPECT_EQ("Data/", GetDirectory("Data\\Ui\\..\\Menu.xml"));
    EXPECT_EQ("", GetDirectory("Menu.xml"));
    EXPECT_EQ("../", GetDirectory("../x"));

    EXPECT_EQ("x", GetExtension("Data/Models/Ship.X"));
    EXPECT_EQ("gz", GetExtension("a.tar.GZ"));
    EXPECT_EQ("", GetExtension("Data/Models/Ship"));
    EXPECT_EQ("", GetExtension("Ship."));
}

TEST(StringUtilTest, ToLowerAndToString)
{
    std::string text = "Data/UI/Menu.XML";
    ToLower(text);
    EXPECT_EQ("data/ui/menu.xml", text);

    EXPECT_EQ("0", ToString(0));
    EXPECT_EQ("-2147483648", ToString(-2147483647 - 1));
    EXPECT_EQ("22050", ToString(22050));
}
