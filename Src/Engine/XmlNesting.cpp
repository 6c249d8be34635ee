#include "Engine/XmlNesting.h"

#include "Engine/StringUtil.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>

namespace
{

bool IsSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

// The parser takes every byte above 127 for a letter, so "<" followed by one
// opens an element.
bool IsNameStart(char c)
{
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte > 127 || std::isalpha(byte) || c == '_';
}

// Walks the text once, keeping the depth of the open elements. Each scanning
// step starts at a '<' and leaves the position after the construct it read.
class NestingScanner
{
public:
    NestingScanner(const char* text, int maxDepth)
        : start(text), at(text), end(text + std::strlen(text)), maxDepth(maxDepth)
    {
    }

    std::string Run()
    {
        while ((at = std::strchr(at, '<')))
        {
            if (!Step())
                return problem;
        }
        return "";
    }

private:
    // False when the text is refused (problem says why) or ends inside the
    // construct, where the parser stops too.
    bool Step()
    {
        // The parser takes the rest of a text for a comment that does not
        // end, and reports nothing.
        if (StartsWith("<!--"))
            return SkipPast(4, "-->") || Refuse("a comment left open");
        if (StartsWith("<![CDATA["))
            return SkipPast(9, "]]>");
        if (StartsWithIgnoringCase("<?xml"))
            return ScanDeclaration();
        if (at[1] == '/')
        {
            depth = std::max(0, depth - 1);
            return SkipPast(2, ">");
        }
        if (IsNameStart(at[1]))
            return ScanStartTag();
        // "<!DOCTYPE", other processing instructions and stray '<': the parser
        // keeps them up to the first '>', whatever stands in between.
        return SkipPast(1, ">");
    }

    bool ScanStartTag()
    {
        ++at;
        char previous = '\0';
        return ScanToTagEnd("a tag", "", previous) && CloseStartTag(previous == '/');
    }

    bool CloseStartTag(bool empty)
    {
        ++at;
        if (empty)
            return true;
        if (++depth <= maxDepth)
            return true;
        return Refuse("elements nested deeper than " + ToString(maxDepth));
    }

    // The parser honours quotes in a declaration only after its own three
    // attribute names, so a value here may not hold what would let the two
    // readings part: '<', '>' or '='.
    bool ScanDeclaration()
    {
        at += 5;
        char previous = '\0';
        if (!ScanToTagEnd("a declaration", "<>=", previous))
            return false;
        ++at;
        return true;
    }

    // Moves onto the '>' that ends the tag. A quote opens a value only after
    // '=' and white space, as the parser reads attributes. previous is the
    // last character before the '>'.
    bool ScanToTagEnd(const char* what, const char* forbiddenInValues, char& previous)
    {
        bool afterEquals = false;
        int attributes = 0;
        for (; *at; ++at)
        {
            const char c = *at;
            if (c == '>')
                return true;
            if (c == '=' && ++attributes > MaxXmlAttributes)
                return Refuse("more than " + ToString(MaxXmlAttributes) +
                              " attributes in one tag");
            if (c == '<')
                return Refuse(std::string("'<' inside ") + what);
            if (IsQuote(c))
            {
                if (!afterEquals)
                    return Refuse("a quote outside an attribute value");
                if (!SkipValue(forbiddenInValues))
                    return false;
            }
            afterEquals = c == '=' || (afterEquals && IsSpace(c));
            previous = c;
        }
        return false;
    }

    // At an opening quote: moves onto the closing one.
    bool SkipValue(const char* forbidden)
    {
        const char quote = *at;
        for (++at; *at && *at != quote; ++at)
        {
            if (*at == '<' || std::strchr(forbidden, *at))
                return Refuse(std::string("'") + *at + "' inside an attribute value");
        }
        return *at != '\0';
    }

    // Searches only up to the end of the text: strstr under AddressSanitizer
    // measures the whole rest of the text at each call, which made a large
    // document take seconds per megabyte.
    bool SkipPast(std::size_t skip, const char* terminator)
    {
        const std::string_view rest(at + skip, static_cast<std::size_t>(end - at) - skip);
        const std::size_t found = rest.find(terminator);
        if (found == std::string_view::npos)
            return false;
        at += skip + found + std::strlen(terminator);
        return true;
    }

    bool StartsWith(const char* prefix) const
    {
        return std::strncmp(at, prefix, std::strlen(prefix)) == 0;
    }

    bool StartsWithIgnoringCase(const char* prefix) const
    {
        for (std::size_t i = 0; prefix[i]; ++i)
        {
            if (std::tolower(static_cast<unsigned char>(at[i])) != prefix[i])
                return false;
        }
        return true;
    }

    bool Refuse(const std::string& what)
    {
        const int line = 1 + static_cast<int>(std::count(start, at, '\n'));
        problem = what + " at line " + ToString(line);
        return false;
    }

    const char* const start;
    const char* at;
    const char* const end;
    const int maxDepth;
    int depth = 0;
    std::string problem;
};

} // namespace

std::string CheckXmlNesting(const char* text, int maxDepth)
{
    return NestingScanner(text, maxDepth).Run();
}
