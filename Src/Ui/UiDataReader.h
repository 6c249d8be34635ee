#pragma once

#include "Engine/DataReader.h"
#include "Ui/FramePoint.h"

#include <string>

namespace Ui
{

// Reads a data file's "Ui" element into frames under a root frame.
class UiDataReader : public DataReader
{
public:
    // The point of that name, compared exactly; an unknown name prints
    // "Unknown point '<name>'" and gives TOPLEFT.
    static FramePoint ParsePoint(const std::string& name);
};

} // namespace Ui
