#include "runtime/win/com_ops.h"

#include <vector>

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
bool has_name(ITypeInfo* info, MEMBERID member, const std::wstring& name) {
    BSTR found = nullptr;
    UINT count = 0;
    bool same = SUCCEEDED(info->GetNames(member, &found, 1, &count)) && count == 1 &&
                lstrcmpiW(found, name.c_str()) == 0;
    SysFreeString(found);
    return same;
}

bool member_by_type_info(IDispatch* dispatch, const std::wstring& name, DISPID& id) {
    UINT info_count = 0;
    if (FAILED(dispatch->GetTypeInfoCount(&info_count)) || info_count == 0) return false;
    ComPtr<ITypeInfo> info;
    TYPEATTR* attributes = nullptr;
    if (FAILED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put())) ||
        FAILED(info->GetTypeAttr(&attributes)))
        return false;
    bool found = false;
    for (UINT i = 0; i < attributes->cFuncs && !found; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(info->GetFuncDesc(i, &function))) continue;
        if (has_name(info.get(), function->memid, name)) {
            id = function->memid;
            found = true;
        }
        info->ReleaseFuncDesc(function);
    }
    for (UINT i = 0; i < attributes->cVars && !found; ++i) {
        VARDESC* variable = nullptr;
        if (FAILED(info->GetVarDesc(i, &variable))) continue;
        if (has_name(info.get(), variable->memid, name)) {
            id = variable->memid;
            found = true;
        }
        info->ReleaseVarDesc(variable);
    }
    info->ReleaseTypeAttr(attributes);
    return found;
}

bool find_member(IDispatch* dispatch, const char* name, DISPID& id) {
    std::wstring wide_name = to_wide(name);
    if (wide_name.empty()) return false;
    LPOLESTR names[] = {wide_name.data()};
    if (SUCCEEDED(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return true;
    return member_by_type_info(dispatch, wide_name, id);
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

    // The dispatch convention wants the last argument first.
    std::vector<Variant> passed(arguments.size());
    size_t slot = passed.size();
    for (const Value& argument : arguments)
        if (!to_automation_variant(argument, passed[--slot])) return false;

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
    return SUCCEEDED(dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result,
                                      &exception.info, &bad_argument));
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
    if (!invoke(object, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, arguments, result.put())) result.clear();
    return result;
}

} // namespace brindor
