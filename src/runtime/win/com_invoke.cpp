#include "runtime/win/com_ops.h"

#include <vector>

#include "runtime/win/com_type_info.h"
#include "runtime/win/text_boundary.h"

namespace brindor {

namespace {

static_assert(sizeof(Variant) == sizeof(VARIANT), "Variant arrays are passed as VARIANTARG arrays");

// Frees the texts an exception fills in.
struct ExceptionInfo {
    EXCEPINFO info{};
    ~ExceptionInfo() {
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
    }
};

// Automation names are case-insensitive by contract; objects that compare exactly anyway are
// searched through their type information.
bool find_member(IDispatch* dispatch, const char* name, DISPID& id) {
    std::wstring wide_name = to_wide(name);
    if (wide_name.empty()) return false;
    LPOLESTR names[] = {wide_name.data()};
    if (SUCCEEDED(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return true;
    return find_member_by_type_info(dispatch, wide_name, id);
}

// Arguments in the dispatch order: the last one first.
bool dispatch_arguments(std::initializer_list<Value> arguments, std::vector<Variant>& passed) {
    passed.resize(arguments.size());
    size_t slot = passed.size();
    for (const Value& argument : arguments)
        if (!to_automation_variant(argument, passed[--slot])) return false;
    return true;
}

// Owner of the array a parameter-array method receives by reference.
class ParameterArray {
  public:
    ParameterArray() = default;
    ParameterArray(const ParameterArray&) = delete;
    ParameterArray& operator=(const ParameterArray&) = delete;
    ~ParameterArray() {
        if (array_) SafeArrayDestroy(array_);
    }
    SAFEARRAY** slot() { return &array_; }

  private:
    SAFEARRAY* array_ = nullptr;
};

// The same arguments with all after the first `fixed` gathered into one array of variants passed by
// reference, the form a parameter-array method receives. Some dispatch implementations leave
// that gathering to the caller.
bool pack_parameter_array(std::vector<Variant>& passed, size_t fixed, ParameterArray& holder) {
    if (passed.size() < fixed) return false;
    size_t rest = passed.size() - fixed;
    SAFEARRAY** slot = holder.slot();
    *slot = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(rest));
    if (!*slot) return false;
    for (size_t i = 0; i < rest; ++i) {
        LONG index = static_cast<LONG>(i);
        // passed[rest - 1] is the first of the rest.
        if (FAILED(SafeArrayPutElement(*slot, &index, const_cast<VARIANT*>(passed[rest - 1 - i].get()))))
            return false;
    }
    Variant reference; // refers to the holder's array, owns nothing
    VARIANT* raw = reference.put();
    V_VT(raw) = VT_BYREF | VT_ARRAY | VT_VARIANT;
    V_ARRAYREF(raw) = slot;
    passed.erase(passed.begin(), passed.begin() + static_cast<std::ptrdiff_t>(rest));
    passed.insert(passed.begin(), std::move(reference));
    return true;
}

HRESULT invoke_with(IDispatch* dispatch, DISPID id, WORD flags, std::vector<Variant>& passed,
                    VARIANT* result) {
    DISPPARAMS parameters{};
    parameters.rgvarg = passed.empty() ? nullptr : reinterpret_cast<VARIANTARG*>(passed.data());
    parameters.cArgs = static_cast<UINT>(passed.size());
    DISPID put_id = DISPID_PROPERTYPUT;
    if (flags & DISPATCH_PROPERTYPUT) {
        parameters.rgdispidNamedArgs = &put_id;
        parameters.cNamedArgs = 1;
    }
    ExceptionInfo exception;
    UINT bad_argument = 0;
    return dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result, &exception.info,
                            &bad_argument);
}

// Invokes `name` with the arguments in order; `result` may be null.
bool invoke(const ComObject& object, const char* name, WORD flags, std::initializer_list<Value> arguments,
            VARIANT* result) {
    if (object.empty()) return false;
    ComPtr<IDispatch> dispatch;
    if (FAILED(object.unknown()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.put()))))
        return false;
    DISPID id;
    if (!find_member(dispatch.get(), name, id)) return false;
    std::vector<Variant> passed;
    if (!dispatch_arguments(arguments, passed)) return false;
    HRESULT outcome = invoke_with(dispatch.get(), id, flags, passed, result);
    if (outcome == DISP_E_BADPARAMCOUNT && !(flags & DISPATCH_PROPERTYPUT)) {
        // The method was not run: retry with its parameter array gathered here.
        int fixed = fixed_parameters_before_array(dispatch.get(), id);
        ParameterArray holder;
        if (fixed >= 0 && pack_parameter_array(passed, static_cast<size_t>(fixed), holder))
            outcome = invoke_with(dispatch.get(), id, flags, passed, result);
    }
    return SUCCEEDED(outcome);
}

} // namespace

bool com_set_property(ComObject& object, const char* name, const Value& value) {
    return invoke(object, name, DISPATCH_PROPERTYPUT, {value}, nullptr);
}

double com_call_number(ComObject& object, const char* name, std::initializer_list<Value> arguments) {
    Variant result;
    if (!invoke(object, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, arguments, result.put())) return 0;
    Variant number;
    if (FAILED(VariantChangeType(number.put(), const_cast<VARIANT*>(result.get()), 0, VT_R8))) return 0;
    return V_R8(number.get());
}

Variant com_call_variant(ComObject& object, const char* name, std::initializer_list<Value> arguments) {
    Variant result;
    if (!invoke(object, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, arguments, result.put()))
        result.clear();
    return result;
}

} // namespace brindor
