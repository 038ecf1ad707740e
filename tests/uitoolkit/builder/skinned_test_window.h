#pragma once
// A skinned window for tests: skin file, folder and source kind chosen by
// the test.
#include <string>

#include "uitoolkit/window/window_impl_base.h"

class SkinnedTestWindow : public UiToolkit::WindowImplBase {
 public:
  // `source`: the zip resource name (kind 4) or the zip file name (kind 2).
  SkinnedTestWindow(int kind, const wchar_t* file, const wchar_t* source = L"")
      : kind_(kind), file_(file), resource_(source) {}
  ~SkinnedTestWindow() override {
    if (m_hwnd) ::DestroyWindow(m_hwnd);
  }
  int readyCount = 0;

 protected:
  const wchar_t* WindowClassName() const override { return L"SkinnedTestWindow"; }
  const wchar_t* SkinFolder() const override { return L""; }
  const wchar_t* SkinFile() const override { return file_.c_str(); }
  int SkinSourceKind() const override { return kind_; }
  const wchar_t* SkinResourceName() const override { return resource_.c_str(); }
  const wchar_t* SkinZipName() const override { return resource_.c_str(); }
  void OnSkinReady() override { ++readyCount; }

 private:
  int kind_;
  std::wstring file_;
  std::wstring resource_;
};
