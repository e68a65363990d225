// The container side of an in-place active OLE control that fills its host window: client site,
// in-place site and frame, no menus, tool space or accelerators.
#pragma once
#include <windows.h>
#include <ole2.h>

#include "runtime/win/com_ptr.h"

namespace brindor {

ComPtr<IOleClientSite> make_browser_site(HWND host);

} // namespace brindor
