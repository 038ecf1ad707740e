#pragma once
// A recording ActiveX object: windowless (draws and hit-tests, takes window
// messages) or windowed (a child window of its own in the host's window).
#include <ocidl.h>
#include <ole2.h>
#include <windows.h>

#include "tests/uitoolkit/activex/fake_module/fake_record.h"

namespace fake_activex {

class FakeOleObject : public IOleObject,
                      public IOleInPlaceObjectWindowless,
                      public IOleInPlaceActiveObject,
                      public IViewObjectEx,
                      public IPersistStreamInit,
                      public IObjectWithSite,
                      public IRunnableObject {
 public:
  FakeOleObject(bool windowless, const char* kind);
  virtual ~FakeOleObject();

  STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
  STDMETHOD_(ULONG, AddRef)() override;
  STDMETHOD_(ULONG, Release)() override;

  // IOleObject
  STDMETHOD(SetClientSite)(IOleClientSite* site) override;
  STDMETHOD(GetClientSite)(IOleClientSite** out) override;
  STDMETHOD(SetHostNames)(LPCOLESTR app, LPCOLESTR object) override;
  STDMETHOD(Close)(DWORD option) override;
  STDMETHOD(SetMoniker)(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHOD(GetMoniker)(DWORD, DWORD, IMoniker** out) override;
  STDMETHOD(InitFromData)(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHOD(GetClipboardData)(DWORD, IDataObject** out) override;
  STDMETHOD(DoVerb)
  (LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent, LPCRECT pos) override;
  STDMETHOD(EnumVerbs)(IEnumOLEVERB** out) override;
  STDMETHOD(Update)() override { return S_OK; }
  STDMETHOD(IsUpToDate)() override { return S_OK; }
  STDMETHOD(GetUserClassID)(CLSID* out) override;
  STDMETHOD(GetUserType)(DWORD, LPOLESTR* out) override;
  STDMETHOD(SetExtent)(DWORD aspect, SIZEL* size) override;
  STDMETHOD(GetExtent)(DWORD aspect, SIZEL* size) override;
  STDMETHOD(Advise)(IAdviseSink*, DWORD* out) override;
  STDMETHOD(Unadvise)(DWORD) override { return E_NOTIMPL; }
  STDMETHOD(EnumAdvise)(IEnumSTATDATA** out) override;
  STDMETHOD(GetMiscStatus)(DWORD aspect, DWORD* status) override;
  STDMETHOD(SetColorScheme)(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleWindow (shared by the in-place object and the active object)
  STDMETHOD(GetWindow)(HWND* out) override;
  STDMETHOD(ContextSensitiveHelp)(BOOL) override { return S_OK; }
  // IOleInPlaceObject
  STDMETHOD(InPlaceDeactivate)() override;
  STDMETHOD(UIDeactivate)() override;
  STDMETHOD(SetObjectRects)(LPCRECT pos, LPCRECT clip) override;
  STDMETHOD(ReactivateAndUndo)() override { return E_NOTIMPL; }
  // IOleInPlaceObjectWindowless
  STDMETHOD(OnWindowMessage)(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  STDMETHOD(GetDropTarget)(IDropTarget** out) override;
  // IOleInPlaceActiveObject
  STDMETHOD(TranslateAccelerator)(LPMSG msg) override;
  STDMETHOD(OnFrameWindowActivate)(BOOL) override { return S_OK; }
  STDMETHOD(OnDocWindowActivate)(BOOL) override { return S_OK; }
  STDMETHOD(ResizeBorder)(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  STDMETHOD(EnableModeless)(BOOL) override { return S_OK; }

  // IViewObject, IViewObject2, IViewObjectEx
  STDMETHOD(Draw)
  (DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC target, HDC draw,
   LPCRECTL bounds, LPCRECTL wbounds, BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR),
   ULONG_PTR contArg) override;
  STDMETHOD(GetColorSet)(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** out) override;
  STDMETHOD(Freeze)(DWORD, LONG, void*, DWORD* out) override;
  STDMETHOD(Unfreeze)(DWORD) override { return S_OK; }
  STDMETHOD(SetAdvise)(DWORD, DWORD, IAdviseSink*) override { return S_OK; }
  STDMETHOD(GetAdvise)(DWORD*, DWORD*, IAdviseSink** out) override;
  STDMETHOD(GetExtent)(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;
  STDMETHOD(GetRect)(DWORD, LPRECTL) override { return E_NOTIMPL; }
  STDMETHOD(GetViewStatus)(DWORD* status) override;
  STDMETHOD(QueryHitPoint)
  (DWORD aspect, LPCRECT bounds, POINT pt, LONG hint, DWORD* result) override;
  STDMETHOD(QueryHitRect)(DWORD, LPCRECT, LPCRECT, LONG, DWORD*) override { return E_NOTIMPL; }
  STDMETHOD(GetNaturalExtent)(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override {
    return E_NOTIMPL;
  }

  // IPersistStreamInit
  STDMETHOD(GetClassID)(CLSID* out) override;
  STDMETHOD(IsDirty)() override { return S_FALSE; }
  STDMETHOD(Load)(LPSTREAM) override { return E_NOTIMPL; }
  STDMETHOD(Save)(LPSTREAM, BOOL) override { return E_NOTIMPL; }
  STDMETHOD(GetSizeMax)(ULARGE_INTEGER*) override { return E_NOTIMPL; }
  STDMETHOD(InitNew)() override;

  // IObjectWithSite
  STDMETHOD(SetSite)(IUnknown* site) override;
  STDMETHOD(GetSite)(REFIID iid, void** out) override;

  // IRunnableObject: a lock holds a reference, as the system's external
  // lock does, so a lock never ended keeps the object alive.
  STDMETHOD(GetRunningClass)(LPCLSID out) override;
  STDMETHOD(Run)(LPBINDCTX) override { return S_OK; }
  STDMETHOD_(BOOL, IsRunning)() override { return TRUE; }
  STDMETHOD(LockRunning)(BOOL lock, BOOL lastUnlockCloses) override;
  STDMETHOD(SetContainedObject)(BOOL) override { return S_OK; }

 protected:
  HRESULT Activate(IOleClientSite* site, bool uiActivate);
  void Deactivate();
  LONG refs_;
  const char* kind_;

 private:
  bool windowless_;
  int runningLocks_;
  bool active_;
  bool uiActive_;
  HWND window_;
  HostRef<IOleClientSite> clientSite_;
  HostRef<IUnknown> objectSite_;
  HostRef<IOleInPlaceSite> inPlaceSite_;
  HostRef<IOleInPlaceFrame> frame_;
};

}  // namespace fake_activex
