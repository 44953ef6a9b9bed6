#include "toolkit/win32/form_accessible.h"

#include <oleacc.h>

#include <iterator>
#include <new>
#include <optional>
#include <string>

#include "toolkit/win32/system_library.h"

namespace tw {

namespace {

// The accessibility library is loaded when a client first asks, not with the program.
using CreateStd = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using FromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The standard object with its own name and value; every other call goes to it.
class ValueOverride final : public IAccessible {
 public:
  // `valueMessage` 0: the standard value.
  ValueOverride(IAccessible* inner, HWND window, UINT valueMessage)
      : inner_(inner), window_(window), valueMessage_(valueMessage) {}
  ValueOverride(const ValueOverride&) = delete;
  ValueOverride& operator=(const ValueOverride&) = delete;

  // IUnknown: this object stands for IAccessible and IDispatch; other interfaces (the
  // children's enumeration, the window) are the standard object's.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    return inner_->QueryInterface(iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return inner_->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return inner_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return inner_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* error, UINT* argument) override {
    return inner_->Invoke(id, iid, locale, flags, params, result, error, argument);
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (!IsSelf(child) || !valueMessage_ || !IsWindow(window_)) return inner_->get_accValue(child, value);
    if (!value) return E_POINTER;
    std::optional<std::wstring> text;
    SendMessageW(window_, valueMessage_, 0, reinterpret_cast<LPARAM>(&text));
    if (!text) return inner_->get_accValue(child, value);
    return Answer(text->data(), static_cast<UINT>(text->size()), value);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return inner_->get_accParent(parent); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return inner_->get_accChildCount(count); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return inner_->get_accChild(child, out);
  }
  // The caption, which the system's object for the window itself leaves out under Wine.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return inner_->get_accName(child, name);
    if (!name) return E_POINTER;
    wchar_t caption[256] = {};
    const int length = GetWindowTextW(window_, caption, static_cast<int>(std::size(caption)));
    return Answer(caption, static_cast<UINT>(length > 0 ? length : 0), name);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return inner_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override { return inner_->get_accRole(child, role); }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return inner_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return inner_->get_accHelp(child, help); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return inner_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
    return inner_->get_accKeyboardShortcut(child, keys);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return inner_->get_accFocus(child); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override { return inner_->get_accSelection(children); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return inner_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return inner_->accSelect(flags, child); }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    return inner_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return inner_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
    return inner_->accHitTest(left, top, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return inner_->accDoDefaultAction(child); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return inner_->put_accName(child, name); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return inner_->put_accValue(child, value);
  }

 private:
  ~ValueOverride() { inner_->Release(); }

  static HRESULT Answer(const wchar_t* text, UINT length, BSTR* out) {
    *out = SysAllocStringLen(text, length);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  LONG refs_ = 1;
  IAccessible* inner_;  // owned: one reference
  HWND window_;
  UINT valueMessage_;
};

}  // namespace

LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam, LPARAM lParam, UINT valueMessage) {
  const auto object = static_cast<LONG>(lParam);
  if (object != OBJID_CLIENT && object != OBJID_WINDOW) return 0;
  const auto createStd = SystemFunction<CreateStd>("oleacc.dll", "CreateStdAccessibleObject");
  const auto fromObject = SystemFunction<FromObject>("oleacc.dll", "LresultFromObject");
  if (!createStd || !fromObject) return 0;
  IAccessible* inner = nullptr;
  if (FAILED(createStd(window, object, __uuidof(IAccessible), reinterpret_cast<void**>(&inner))) || !inner) return 0;
  auto* answering = new (std::nothrow) ValueOverride(inner, window, object == OBJID_CLIENT ? valueMessage : 0);
  if (!answering) {
    inner->Release();
    return 0;
  }
  const LRESULT answer = fromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(answering));
  answering->Release();  // the answer holds its own reference
  return answer < 0 ? 0 : answer;
}

void NotifyAccessibleValueChanged(HWND window) {
  NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace tw
