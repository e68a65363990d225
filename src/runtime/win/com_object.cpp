#include "runtime/win/com_ops.h"

#include "runtime/win/text_boundary.h"

namespace brindor {

namespace {

constexpr DWORD kAllServerContexts =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER; // 0x17
constexpr DWORD kLocalServerContexts = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

// The coclass named `name` (any letter case) in a type-library file. The library is only read,
// never registered: the program leaves nothing behind in the registry.
bool class_id_from_type_library(const std::wstring& library, const std::wstring& name, CLSID& id) {
    ComPtr<ITypeLib> types;
    if (FAILED(LoadTypeLibEx(library.c_str(), REGKIND_NONE, types.put()))) return false;
    UINT count = types->GetTypeInfoCount();
    for (UINT i = 0; i < count; ++i) {
        TYPEKIND kind;
        if (FAILED(types->GetTypeInfoType(i, &kind)) || kind != TKIND_COCLASS) continue;
        BSTR type_name = nullptr;
        if (FAILED(types->GetDocumentation(static_cast<INT>(i), &type_name, nullptr, nullptr, nullptr)))
            continue;
        bool same = type_name && lstrcmpiW(type_name, name.c_str()) == 0;
        SysFreeString(type_name);
        if (!same) continue;
        ComPtr<ITypeInfo> info;
        TYPEATTR* attributes = nullptr;
        if (FAILED(types->GetTypeInfo(i, info.put())) || FAILED(info->GetTypeAttr(&attributes))) return false;
        id = attributes->guid;
        info->ReleaseTypeAttr(attributes);
        return true;
    }
    return false;
}

bool class_id_of(const char* class_name, const char* type_library, CLSID& id) {
    std::wstring name = to_wide(class_name);
    if (name.empty()) return false;
    if (type_library && *type_library) return class_id_from_type_library(to_wide(type_library), name, id);
    if (name[0] == L'{') return SUCCEEDED(CLSIDFromString(name.c_str(), &id));
    return SUCCEEDED(CLSIDFromProgID(name.c_str(), &id));
}

} // namespace

bool com_create(ComObject& object, const char* class_name, const char* type_library) {
    CLSID id;
    if (!class_id_of(class_name, type_library, id)) return false;
    ComPtr<IUnknown> unknown;
    HRESULT result = CoCreateInstance(id, nullptr, kAllServerContexts, IID_IUnknown,
                                      reinterpret_cast<void**>(unknown.put()));
    // Systems without remote activation refuse the remote-server bit as an invalid argument.
    if (result == E_INVALIDARG)
        result = CoCreateInstance(id, nullptr, kLocalServerContexts, IID_IUnknown,
                                  reinterpret_cast<void**>(unknown.put()));
    if (FAILED(result) || !unknown || FAILED(OleRun(unknown.get()))) return false;
    object.reset(std::move(unknown));
    return true;
}

void com_clear(ComObject& object) {
    object.reset();
}

} // namespace brindor
