#include "runtime/win/com_type_info.h"

namespace brindor {

namespace {

// The type information of the object's dispatch interface, with its attributes.
class DispatchTypes {
  public:
    explicit DispatchTypes(IDispatch* dispatch) {
        UINT count = 0;
        if (FAILED(dispatch->GetTypeInfoCount(&count)) || count == 0) return;
        if (FAILED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, info_.put()))) return;
        if (FAILED(info_->GetTypeAttr(&attributes_))) attributes_ = nullptr;
    }
    ~DispatchTypes() {
        if (attributes_) info_->ReleaseTypeAttr(attributes_);
    }
    DispatchTypes(const DispatchTypes&) = delete;
    DispatchTypes& operator=(const DispatchTypes&) = delete;

    bool valid() const { return attributes_ != nullptr; }
    ITypeInfo* info() const { return info_.get(); }
    UINT functions() const { return attributes_->cFuncs; }
    UINT variables() const { return attributes_->cVars; }

    bool has_name(MEMBERID member, const std::wstring& name) const {
        BSTR found = nullptr;
        UINT count = 0;
        bool same = SUCCEEDED(info_->GetNames(member, &found, 1, &count)) && count == 1 &&
                    lstrcmpiW(found, name.c_str()) == 0;
        SysFreeString(found);
        return same;
    }

  private:
    ComPtr<ITypeInfo> info_;
    TYPEATTR* attributes_ = nullptr;
};

} // namespace

bool find_member_by_type_info(IDispatch* dispatch, const std::wstring& name, DISPID& id) {
    DispatchTypes types(dispatch);
    if (!types.valid()) return false;
    bool found = false;
    for (UINT i = 0; i < types.functions() && !found; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(types.info()->GetFuncDesc(i, &function))) continue;
        if (types.has_name(function->memid, name)) {
            id = function->memid;
            found = true;
        }
        types.info()->ReleaseFuncDesc(function);
    }
    for (UINT i = 0; i < types.variables() && !found; ++i) {
        VARDESC* variable = nullptr;
        if (FAILED(types.info()->GetVarDesc(i, &variable))) continue;
        if (types.has_name(variable->memid, name)) {
            id = variable->memid;
            found = true;
        }
        types.info()->ReleaseVarDesc(variable);
    }
    return found;
}

int fixed_parameters_before_array(IDispatch* dispatch, DISPID id) {
    DispatchTypes types(dispatch);
    if (!types.valid()) return -1;
    int fixed = -1;
    for (UINT i = 0; i < types.functions() && fixed < 0; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(types.info()->GetFuncDesc(i, &function))) continue;
        if (function->memid == id && function->invkind == INVOKE_FUNC && function->cParamsOpt == -1 &&
            function->cParams > 0)
            fixed = function->cParams - 1;
        types.info()->ReleaseFuncDesc(function);
    }
    return fixed;
}

} // namespace brindor
