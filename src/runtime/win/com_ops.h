// Automation objects driven by name through IDispatch, and the variants they return. Every
// failure is quiet (false, 0, an empty variant or empty text). The calling thread initialises
// COM itself (CoInitialize); these operations never do.
#pragma once
#include <initializer_list>
#include <utility>

#include "runtime/core/text.h"
#include "runtime/core/value.h"
#include "runtime/win/com_ptr.h"
#include "runtime/win/variant.h"

namespace brindor {

// An automation object: the object's IUnknown, or empty.
class ComObject {
  public:
    bool empty() const { return !unknown_; }
    IUnknown* unknown() const { return unknown_.get(); }
    void reset(ComPtr<IUnknown> unknown = {}) { unknown_ = std::move(unknown); }

  private:
    ComPtr<IUnknown> unknown_;
};

// `class_name` (GBK): a programmatic identifier such as "ScriptControl", or a class id in braces.
// `type_library`, when given and not empty, is a file whose coclass of that name is used instead.
// On failure `object` is unchanged.
bool com_create(ComObject& object, const char* class_name, const char* type_library = nullptr);

// Names are matched without regard to letter case. Arguments: a text becomes a BSTR, an integer
// VT_I4, a boolean VT_BOOL, a double VT_R8 (see to_automation_variant).
bool com_set_property(ComObject& object, const char* name, const Value& value);
double com_call_number(ComObject& object, const char* name, std::initializer_list<Value> arguments = {});
Variant com_call_variant(ComObject& object, const char* name, std::initializer_list<Value> arguments = {});

// The variant as GBK text by the system's variant conversion; with `array_index` (1-based) the
// element of an array variant. Empty text when it cannot be converted.
Text variant_to_text(const Variant& variant, int array_index = 0);
void variant_clear(Variant& variant);
void com_clear(ComObject& object);

// A runtime value as an automation argument; false for a type that has no automation form.
bool to_automation_variant(const Value& value, Variant& out);

} // namespace brindor
