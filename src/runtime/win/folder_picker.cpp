#include "runtime/win/folder_picker.h"

#include <shobjidl.h>

#include <cwchar>
#include <string>

#include "runtime/win/com_ptr.h"
#include "runtime/win/text_boundary.h"

namespace brindor {

namespace {

// A thread that already has COM keeps its own; a start here is balanced here.
class ComScope {
  public:
    ComScope() : started_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (started_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    bool started_;
};

bool path_of(IShellItem* item, FileName& chosen) {
    wchar_t* path = nullptr;
    if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)) || !path) return false;
    chosen = file_name_of(path, std::wcslen(path));
    CoTaskMemFree(path);
    return !chosen.empty();
}

} // namespace

bool choose_folder(HWND owner, const char* title, FileName& chosen) {
    ComScope com;
    ComPtr<IFileOpenDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                reinterpret_cast<void**>(dialog.put()))))
        return false;
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    const std::wstring caption = to_wide(title);
    dialog->SetTitle(caption.c_str());
    if (FAILED(dialog->Show(owner))) return false;
    ComPtr<IShellItem> item;
    return SUCCEEDED(dialog->GetResult(item.put())) && path_of(item.get(), chosen);
}

} // namespace brindor
