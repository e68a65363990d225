// Lookups in an automation object's type information, for what IDispatch alone does not settle.
#pragma once
#include <string>

#include "runtime/win/com_ptr.h"

namespace brindor {

// The member named `name` in any letter case.
bool find_member_by_type_info(IDispatch* dispatch, const std::wstring& name, DISPID& id);

// For a method whose last parameter collects the rest (a parameter array), the number of
// parameters before it; -1 for any other member or when the object has no type information.
int fixed_parameters_before_array(IDispatch* dispatch, DISPID id);

} // namespace brindor
