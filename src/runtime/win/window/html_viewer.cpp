// HtmlViewer: the system's web browser control, in-place active in a child window of its own.
// 8 text size (0-4), 9 offline, 10 silent, 11 address (writing navigates), 12 status text, 13 page title.
#include <exdisp.h>
#include <docobj.h>

#include <string>

#include "runtime/win/program.h"
#include "runtime/win/text_boundary.h"
#include "runtime/win/window/browser_site.h"
#include "runtime/win/window/control_kinds.h"

namespace brindor {

namespace {

constexpr CLSID kWebBrowserClass = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
constexpr IID kWebBrowserInterface = {
    0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};

constexpr wchar_t kHostClass[] = L"BrindorHtmlViewer";

bool browser_keys(MSG* msg);

// In-place activation needs OLE (not only COM) on the window's thread.
void initialize_ole() {
    static const bool started = [] {
        bool ok = SUCCEEDED(OleInitialize(nullptr));
        if (ok) add_shutdown_hook([] { OleUninitialize(); });
        add_pretranslate_hook(browser_keys);
        return ok;
    }();
    (void)started;
}

HWND browser_host_of(HWND window) {
    for (HWND w = GetParent(window); w; w = GetParent(w)) {
        wchar_t name[32] = L"";
        GetClassNameW(w, name, 32);
        if (lstrcmpW(name, kHostClass) == 0) return w;
    }
    return nullptr;
}

class Bstr {
  public:
    explicit Bstr(const char* text) : value_(SysAllocString(to_wide(text).c_str())) {}
    Bstr() = default;
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(value_); }
    BSTR get() const { return value_; }
    BSTR* put() { return &value_; }
    Text text() const { return value_ ? from_wide(value_) : Text(); }

  private:
    BSTR value_ = nullptr;
};

class HtmlViewer final : public Control {
  public:
    explicit HtmlViewer(const ControlDefinition& d) : Control(d) {
        if (const BrowserSettings* s = d.browser) {
            font_size_ = s->font_size;
            offline_ = s->offline;
            silent_ = s->silent;
        }
    }
    ~HtmlViewer() override { close(); }

    bool create(HWND parent) override {
        if (!create_child(parent, host_class(), WS_CLIPCHILDREN)) return false;
        SetWindowLongPtrW(handle(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        initialize_ole();
        embed_browser();
        const BrowserSettings* s = definition().browser;
        if (s && s->address && *s->address) navigate(s->address);
        return true; // without a browser the control stays blank, the window still works
    }

    void close() override {
        if (!object_) return;
        if (browser_) browser_->Stop();
        if (auto in_place = object_.query<IOleInPlaceObject>()) in_place->InPlaceDeactivate();
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
        browser_.reset();
        object_.reset();
        site_.reset();
    }

    PropertyValue read(int number) override {
        switch (number) {
        case 8:
            return PropertyValue::of(font_size_);
        case 9: {
            VARIANT_BOOL offline = offline_ ? VARIANT_TRUE : VARIANT_FALSE;
            if (browser_) browser_->get_Offline(&offline);
            return PropertyValue::of(offline != VARIANT_FALSE);
        }
        case 10: {
            VARIANT_BOOL silent = silent_ ? VARIANT_TRUE : VARIANT_FALSE;
            if (browser_) browser_->get_Silent(&silent);
            return PropertyValue::of(silent != VARIANT_FALSE);
        }
        case 11: {
            Bstr location;
            if (browser_ && SUCCEEDED(browser_->get_LocationURL(location.put())) && location.get() &&
                *location.get())
                return PropertyValue::of(location.text());
            return PropertyValue::of(address_);
        }
        case 12: {
            Bstr status;
            if (browser_) browser_->get_StatusText(status.put());
            return PropertyValue::of(status.text());
        }
        case 13: {
            Bstr title;
            if (browser_) browser_->get_LocationName(title.put());
            return PropertyValue::of(title.text());
        }
        default:
            return Control::read(number);
        }
    }

    void write(int number, const PropertyValue& value) override {
        switch (number) {
        case 8:
            font_size_ = static_cast<int>(value.as_number());
            apply_font_size();
            break;
        case 9:
            offline_ = value.as_number() != 0;
            if (browser_) browser_->put_Offline(offline_ ? VARIANT_TRUE : VARIANT_FALSE);
            break;
        case 10:
            silent_ = value.as_number() != 0;
            if (browser_) browser_->put_Silent(silent_ ? VARIANT_TRUE : VARIANT_FALSE);
            break;
        case 11:
            navigate(value.as_text().c_str());
            break;
        case 12:
        case 13:
            break; // read only
        default:
            Control::write(number, value);
        }
    }

    // Keys typed into the page: the browser's own accelerators first, and no dialog handling, so
    // Tab, Enter and the arrows work inside the page's fields.
    bool translate_keys(MSG* msg) {
        if (!object_) return false;
        if (auto active = object_.query<IOleInPlaceActiveObject>();
            active && active->TranslateAccelerator(msg) == S_OK)
            return true;
        TranslateMessage(msg);
        DispatchMessageW(msg);
        return true;
    }

    void fit_to_host() {
        if (auto in_place = object_.query<IOleInPlaceObject>()) {
            RECT r;
            GetClientRect(handle(), &r);
            in_place->SetObjectRects(&r, &r);
        }
    }

  private:
    static const wchar_t* host_class() {
        static const wchar_t* name = [] {
            WNDCLASSEXW cls{};
            cls.cbSize = sizeof cls;
            cls.lpfnWndProc = host_procedure;
            cls.hInstance = program_instance();
            cls.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
            cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            cls.lpszClassName = kHostClass;
            RegisterClassExW(&cls);
            return cls.lpszClassName;
        }();
        return name;
    }

    static LRESULT CALLBACK host_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        auto* self = reinterpret_cast<HtmlViewer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_SIZE && self) self->fit_to_host();
        if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return DefWindowProcW(window, message, wparam, lparam);
    }

    void embed_browser() {
        if (FAILED(CoCreateInstance(kWebBrowserClass, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                    reinterpret_cast<void**>(object_.put()))))
            return;
        site_ = make_browser_site(handle());
        object_->SetClientSite(site_.get());
        RECT r;
        GetClientRect(handle(), &r);
        object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, handle(), &r);
        object_->QueryInterface(kWebBrowserInterface, reinterpret_cast<void**>(browser_.put()));
        if (!browser_) return;
        browser_->put_Silent(silent_ ? VARIANT_TRUE : VARIANT_FALSE);
        browser_->put_Offline(offline_ ? VARIANT_TRUE : VARIANT_FALSE);
        apply_font_size();
    }

    void apply_font_size() {
        if (!browser_) return;
        VARIANT size;
        VariantInit(&size);
        size.vt = VT_I4;
        size.lVal = font_size_;
        browser_->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &size, nullptr);
    }

    void navigate(const char* address) {
        address_ = address;
        if (!browser_) return;
        Bstr url(address);
        VARIANT empty;
        VariantInit(&empty);
        browser_->Navigate(url.get(), &empty, &empty, &empty, &empty);
    }

    ComPtr<IOleObject> object_;
    ComPtr<IOleClientSite> site_;
    ComPtr<IWebBrowser2> browser_;
    int font_size_ = 2;
    bool offline_ = false;
    bool silent_ = false;
    Text address_;
};

bool browser_keys(MSG* msg) {
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
    HWND host = browser_host_of(msg->hwnd);
    auto* viewer = host ? reinterpret_cast<HtmlViewer*>(GetWindowLongPtrW(host, GWLP_USERDATA)) : nullptr;
    return viewer && viewer->translate_keys(msg);
}

} // namespace

std::unique_ptr<Control> make_html_viewer(const ControlDefinition& d) {
    return std::make_unique<HtmlViewer>(d);
}

} // namespace brindor
