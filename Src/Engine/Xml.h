#pragma once

#include <cstddef>
#include <string>
#include <tinyxml.h>

// The one way the readers of XML data read attributes, find required children,
// load documents and report problems. Attribute names are matched exactly;
// booleans are "true" or "false" in any case; numbers are the decimal number
// at the start of the text. A value that cannot be read leaves the default (or
// the previous value) without a message.

// The attribute's text, or the default when the attribute is absent.
std::string XmlGetAttribute(const TiXmlElement* element, const std::string& name,
                            const std::string& defaultValue);
void XmlGetString(const TiXmlElement* element, const std::string& name, std::string& value,
                  const std::string& defaultValue);
bool XmlGetBool(const TiXmlElement* element, const std::string& name, bool defaultValue);
void XmlGetBool(const TiXmlElement* element, const std::string& name, bool& value,
                bool defaultValue);
void XmlGetInt(const TiXmlElement* element, const std::string& name, int& value, int defaultValue);
void XmlGetFloat(const TiXmlElement* element, const std::string& name, float& value,
                 float defaultValue);
void XmlGetDouble(const TiXmlElement* element, const std::string& name, double& value,
                  float defaultValue);

// Reads the attributes "x", "y" and "z" into the components of a 3-vector
// (Math::RawMemVector<3> or anything indexed the same way); an absent or
// unreadable attribute leaves its component as it is.
template <class Vector>
void XmlReadVector(const TiXmlElement* element, Vector& vector)
{
    XmlGetFloat(element, "x", vector[0], vector[0]);
    XmlGetFloat(element, "y", vector[1], vector[1]);
    XmlGetFloat(element, "z", vector[2], vector[2]);
}

// The attribute's text; throws "Missing attribute '<name>'" with the element's
// location when it is absent. The typed forms throw the same and otherwise
// leave the value as it is when the text cannot be read.
const char* XmlRequireAttribute(const TiXmlElement* element, const std::string& name);
void XmlRequireString(const TiXmlElement* element, const std::string& name, std::string& value);
void XmlRequireInt(const TiXmlElement* element, const std::string& name, int& value);
void XmlRequireFloat(const TiXmlElement* element, const std::string& name, float& value);
void XmlRequireDouble(const TiXmlElement* element, const std::string& name, double& value);
bool XmlRequireBool(const TiXmlElement* element, const std::string& name);
void XmlRequireBool(const TiXmlElement* element, const std::string& name, bool& value);

// The node's first child element of exactly that name. When there is none:
// throws "Missing '<name>' element!" with the node's location if required,
// else returns null.
const TiXmlElement* XmlRequireChild(const TiXmlNode* node, const char* name, bool required);

// The directory followed by the attribute (required), as written; throws
// the error of DataPath with the element's location when the path leads
// out of the data folder.
std::string XmlRequirePath(const TiXmlElement* element, const std::string& name,
                           const std::string& directory);

// Throws Error with the pieces joined, then " in:\n" and the node's location.
[[noreturn]] void XmlError(const TiXmlNode* node, const std::string& a, const std::string& b = "",
                           const std::string& c = "", const std::string& d = "",
                           const std::string& e = "");

// The element's name lower-cased, as element names are compared.
std::string XmlLowerTag(const TiXmlElement* element);

// "<document name>, line <line>"; "<unknown>, line 0" for a node outside any
// document (a definition copied out of its file).
std::string XmlLocation(const TiXmlNode* node);
std::string XmlDocumentName(const TiXmlNode* node);

// Print a warning on standard output; reading goes on.
void XmlUnknownTag(const TiXmlElement* element);
void XmlUnknownValue(const std::string& tag, const std::string& attribute,
                     const std::string& value);

// No data file of ours comes near this size. The parser needs many times a
// document's size in memory, so a larger document is not parsed.
const std::size_t MaxXmlBytes = std::size_t(4) << 20;
// The files that include a document stay parsed while it is read; together
// they hold at most a megabyte more than the largest document.
const std::size_t MaxOpenXmlBytes = MaxXmlBytes + (std::size_t(1) << 20);

// Empty when the text, of that size, may go to the parser while documents of
// openBytes are parsed already; otherwise what is wrong with it: it is larger
// than MaxXmlBytes, passes MaxOpenXmlBytes with those, or is nested too deep
// (CheckXmlNesting). Every XML text the game reads is checked so.
std::string XmlTextProblem(const char* text, std::size_t size, std::size_t openBytes = 0);

// Parses the text, up to its first NUL, into the document. TinyXML steps over
// a multi-byte UTF-8 character whole, so a lead byte just before the end would
// take it past the terminating NUL: the parse runs over a copy with room to
// spare behind the end.
void XmlParse(TiXmlDocument& document, const char* text);

// Fills the document from the data file (disk first, then the archive). Throws
// "XML filename was not specified!", the file layer's "Can't open file" or
// "XML parsing error '<description>'" with the document's location; a text
// that XmlTextProblem refuses, or that ends inside a comment, is refused that
// way before it is parsed, and so is a document without a root element.
// openBytes is what the documents that include this one hold. Returns the
// size of the text.
std::size_t XmlLoadFile(const std::string& file, TiXmlDocument& document,
                        std::size_t openBytes = 0);
