#include "runtime/win/com_ops.h"

#include "runtime/win/text_boundary.h"

namespace brindor {

namespace {

// Element `array_index` (1-based from the array's lower bound) of a one-dimensional array variant.
bool array_element(const VARIANT& array_variant, int array_index, Variant& element) {
    SAFEARRAY* array = V_ISBYREF(&array_variant) ? *V_ARRAYREF(&array_variant) : V_ARRAY(&array_variant);
    if (!array || SafeArrayGetDim(array) != 1) return false;
    LONG lower = 0;
    VARTYPE type = VT_EMPTY;
    if (FAILED(SafeArrayGetLBound(array, 1, &lower)) || FAILED(SafeArrayGetVartype(array, &type)))
        return false;
    LONG index = lower + array_index - 1;
    VARIANT* out = element.put();
    if (type == VT_VARIANT) return SUCCEEDED(SafeArrayGetElement(array, &index, out));
    if (type == VT_RECORD || type == VT_UNKNOWN || type == VT_DISPATCH) return false;
    // Scalars and BSTRs are copied into the value part, which every such type begins.
    if (FAILED(SafeArrayGetElement(array, &index, &V_I4(out)))) return false;
    V_VT(out) = type;
    return true;
}

} // namespace

bool to_automation_variant(const Value& value, Variant& out) {
    VARIANT* v = out.put();
    switch (value.type) {
    case kTypeText: {
        std::wstring wide = to_wide(value.as_text());
        V_VT(v) = VT_BSTR;
        V_BSTR(v) = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        return V_BSTR(v) != nullptr;
    }
    case kTypeInteger:
        V_VT(v) = VT_I4;
        V_I4(v) = value.as_integer();
        return true;
    case kTypeBoolean:
        V_VT(v) = VT_BOOL;
        V_BOOL(v) = value.low ? VARIANT_TRUE : VARIANT_FALSE;
        return true;
    case kTypeDouble:
        V_VT(v) = VT_R8;
        V_R8(v) = value.as_double();
        return true;
    case kTypeByte:
        V_VT(v) = VT_UI1;
        V_UI1(v) = static_cast<BYTE>(value.low);
        return true;
    case kTypeShort:
        V_VT(v) = VT_I2;
        V_I2(v) = static_cast<SHORT>(value.low);
        return true;
    case kTypeLong:
        V_VT(v) = VT_I8;
        V_I8(v) = value.as_long();
        return true;
    case kTypeFloat:
        V_VT(v) = VT_R4;
        V_R4(v) = value.as_float();
        return true;
    case kTypeDateTime:
        V_VT(v) = VT_DATE;
        V_DATE(v) = value.as_double();
        return true;
    default:
        return false;
    }
}

Text variant_to_text(const Variant& variant, int array_index) {
    const VARIANT* source = variant.get();
    Variant element;
    if (array_index > 0 && V_ISARRAY(source)) {
        if (!array_element(*source, array_index, element)) return {};
        source = element.get();
    }
    Variant text;
    if (FAILED(VariantChangeType(text.put(), const_cast<VARIANT*>(source), 0, VT_BSTR)) ||
        !V_BSTR(text.get()))
        return {};
    BSTR s = V_BSTR(text.get());
    return from_wide(s, static_cast<int>(SysStringLen(s)));
}

void variant_clear(Variant& variant) {
    variant.clear();
}

} // namespace brindor
