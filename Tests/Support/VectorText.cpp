#include "Support/VectorText.h"

#include <sstream>

std::string VectorText(const Math::RawMemVector<3>& vector)
{
    std::ostringstream text;
    text << "(" << vector[0] << ", " << vector[1] << ", " << vector[2] << ")";
    return text.str();
}
