#pragma once

#include <string>

// TinyXML parses, copies and deletes elements recursively, so a document
// nested deep enough overflows the stack. Every XML text the game reads is
// measured with this before it is parsed.
const int MaxXmlNesting = 256;
// TinyXML looks every attribute it reads up among those of its element, so
// an element of very many attributes takes minutes to parse.
const int MaxXmlAttributes = 256;

// Empty when the text nests its elements at most maxDepth deep; otherwise what
// is wrong, with the line: "elements nested deeper than 256 at line 300".
//
// The count skips comments, CDATA sections, declarations, processing
// instructions and quoted attribute values as the parser does, so a
// well-formed document is measured exactly. Where the text is so malformed
// that the parser and this count could part ways (a '<' inside a tag, a quote
// that opens no attribute value), the text is refused as well: the count never
// falls short of the depth the parser would reach.
// A text that ends inside a comment is refused too ("a comment left open at
// line 3"): the parser would take the rest of the file for the comment; and
// so is a tag of more than MaxXmlAttributes attributes ("more than 256
// attributes in one tag at line 4").
std::string CheckXmlNesting(const char* text, int maxDepth = MaxXmlNesting);
