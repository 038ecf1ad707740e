#pragma once
// The download manager a CWebBrowserUI offers its browser: every download
// the browser would start goes to the control's OnDownload. The browser may
// keep it after the control is gone; it then answers E_UNEXPECTED.
#include <downloadmgr.h>
#include <windows.h>

#include "uitoolkit/activex/activex_objects.h"

namespace UiToolkit {

class CWebBrowserUI;

class CWebBrowserDownloadManager final : public IDownloadManager, private CCountedComObject {
 public:
  explicit CWebBrowserDownloadManager(CWebBrowserUI* owner);
  void DetachOwner() { m_owner = nullptr; }

  STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
  STDMETHOD_(ULONG, AddRef)() override;
  STDMETHOD_(ULONG, Release)() override;
  STDMETHOD(Download)
  (IMoniker* moniker, IBindCtx* context, DWORD bindVerb, LONG bindFlags, BINDINFO* bindInfo,
   LPCOLESTR headers, LPCOLESTR redirect, UINT codePage) override;

 private:
  ~CWebBrowserDownloadManager() = default;

  LONG m_refs;
  CWebBrowserUI* m_owner;
};

}  // namespace UiToolkit
