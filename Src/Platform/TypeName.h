#pragma once

#include <string>
#include <typeinfo>

namespace Platform
{

// The type's name as the source writes it ("Error", "std::runtime_error"),
// not the compiler's mangled form; the mangled form when it cannot be read.
std::string TypeName(const std::type_info& type);

} // namespace Platform
