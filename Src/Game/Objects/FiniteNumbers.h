#pragma once

class TiXmlElement;

namespace Math
{
class Vector;
}

// Float attributes of the ship format. Text that reads as a number a float
// cannot hold ("inf", "nan", "1e99") is refused with the reader's Error, file
// and line; other text that is no number leaves the value, as everywhere.

// A required attribute.
void RequireFiniteFloat(const TiXmlElement* element, const char* name, float& value);
// An optional attribute: an absent one leaves the value.
void GetFiniteFloat(const TiXmlElement* element, const char* name, float& value);
// The optional attributes "x", "y" and "z".
void GetFiniteVector(const TiXmlElement* element, Math::Vector& vector);

// A value computed from the element's attribute, refused the same way when it
// came out infinite.
void CheckFinite(const TiXmlElement* element, const char* name, float value);
