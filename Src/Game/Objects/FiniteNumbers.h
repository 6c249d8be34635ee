#pragma once

class TiXmlElement;

namespace Math
{
class Vector;
}

// Number attributes of the ship format. Text that reads as a number a float
// cannot hold ("inf", "nan", "1e99") is refused with the reader's Error, file
// and line; other text that is no number leaves the value, as everywhere.
//
// Every number of the format, as written and as converted from frame units,
// must also lie within plus and minus ValueLimit: speeds, ranges, offsets and
// accelerations beyond it would carry a body so far in a step that its motion
// overflows or the arena's wrapping of it loses whole turns, and crews,
// batteries and damage beyond it would be shown as numbers that mean nothing.
constexpr float ValueLimit = 1.0e6f;

// A required attribute.
void RequireFiniteFloat(const TiXmlElement* element, const char* name, float& value);
// A required whole number, read as the XML helpers read one once its text has
// passed the same test as a float's.
void RequireFiniteInt(const TiXmlElement* element, const char* name, int& value);
// An optional attribute: an absent one leaves the value.
void GetFiniteFloat(const TiXmlElement* element, const char* name, float& value);
// The optional attributes "x", "y" and "z".
void GetFiniteVector(const TiXmlElement* element, Math::Vector& vector);

// A value computed from the element's attribute, refused when it came out
// beyond the limit (or not finite).
void CheckFinite(const TiXmlElement* element, const char* name, float value);
