#pragma once
// A skin folder for image tests: a temporary folder that the image loader
// reads (through the skin location), optionally a skin zip in it, and a
// module with PNG resources standing for the program's own.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "tests/uitoolkit/fixtures/skin_fixtures.h"
#include "uitoolkit/zip/skin_files.h"

namespace uitest {

// One colour (RGBA) over a whole image.
inline std::string SolidPng(uint32_t rgba, int width = 2, int height = 2) {
  std::vector<uint8_t> px;
  for (int i = 0; i < width * height; ++i) {
    px.push_back(static_cast<uint8_t>(rgba >> 24));
    px.push_back(static_cast<uint8_t>(rgba >> 16));
    px.push_back(static_cast<uint8_t>(rgba >> 8));
    px.push_back(static_cast<uint8_t>(rgba));
  }
  return fixtures::EncodePng(px, width, height);
}

class ImageFolder {
 public:
  ImageFolder() : dir_(test_support::MakeTempDir(L"uires")) {
    Current() = this;
    UiToolkit::SetSkinLocationProvider(&Provide);
  }
  ~ImageFolder() {
    UiToolkit::SetSkinLocationProvider(nullptr);
    Current() = nullptr;
    if (module_) ::FreeLibrary(module_);
    test_support::RemoveTree(dir_);
  }
  ImageFolder(const ImageFolder&) = delete;
  ImageFolder& operator=(const ImageFolder&) = delete;

  const std::wstring& dir() const { return dir_; }
  bool Write(const std::wstring& name, const std::string& bytes) {
    return test_support::WriteFileBytes(dir_ + L"\\" + name, bytes);
  }
  bool Remove(const std::wstring& name) { return ::DeleteFileW((dir_ + L"\\" + name).c_str()) != 0; }
  // Images are read from this zip (in the folder) from now on.
  void UseZip(const std::wstring& name) { zip_ = name; }
  // A copy of this program carrying the given resources of type `type`
  // becomes the module resources are read from.
  bool UseResources(const wchar_t* type, const std::vector<std::pair<WORD, std::string>>& items) {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring copy = dir_ + L"\\resources.exe";
    if (!::CopyFileW(self, copy.c_str(), FALSE)) return false;
    HANDLE update = ::BeginUpdateResourceW(copy.c_str(), FALSE);
    if (!update) return false;
    for (const auto& item : items) {
      if (!::UpdateResourceW(update, type, MAKEINTRESOURCEW(item.first),
                             MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                             const_cast<char*>(item.second.data()),
                             static_cast<DWORD>(item.second.size())))
        return false;
    }
    if (!::EndUpdateResourceW(update, FALSE)) return false;
    module_ = ::LoadLibraryExW(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return module_ != nullptr;
  }

 private:
  static ImageFolder*& Current() {
    static ImageFolder* current = nullptr;
    return current;
  }
  static UiToolkit::TUiSkinLocation Provide() {
    UiToolkit::TUiSkinLocation location;
    ImageFolder* self = Current();
    if (!self) return location;
    location.resourceFolder = self->dir_ + L"\\";
    location.skinZipName = self->zip_;
    location.resourceModule = self->module_;
    return location;
  }

  std::wstring dir_;
  std::wstring zip_;
  HMODULE module_ = nullptr;
};

}  // namespace uitest
