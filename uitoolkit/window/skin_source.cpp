// Where skins come from, for the whole process: the resource folder and the
// skin zip that stays open for every later window (a file in that folder,
// or a copy of a zip held in the program's resources).
#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "foundation/log/log.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/zip/skin_files.h"
#include "uitoolkit/zip/ui_zip_reader.h"

namespace UiToolkit {
namespace {

const wchar_t kMemoryZipName[] = L"membuffer";

struct SkinSource {
  std::mutex lock;
  std::wstring folder;
  std::wstring zipName;
  CUiZipReader* zip = nullptr;
  // Copies of resource zips: a zip read from memory needs its bytes for as
  // long as it is open, and a later window may still read from it.
  std::vector<std::vector<char>*> copies;
};

SkinSource& Source() {
  static SkinSource* source = new SkinSource;  // lives until the process ends
  return *source;
}

TUiSkinLocation CurrentLocation() {
  SkinSource& s = Source();
  std::lock_guard<std::mutex> hold(s.lock);
  TUiSkinLocation location;
  location.resourceFolder = s.folder;
  location.skinZipName = s.zipName;
  location.openZip = s.zip;
  location.resourceModule = CWindowManagerUI::ResourceModule();
  return location;
}

void InstallProvider() { SetSkinLocationProvider(&CurrentLocation); }

void CloseZipLocked(SkinSource& s) {
  if (s.zip) CUiZipReader::Close(s.zip);
  s.zip = nullptr;
  s.zipName.clear();
}

}  // namespace

CUiString CWindowManagerUI::ProgramFolder() {
  HINSTANCE instance = GetInstance();
  if (!instance) return CUiString();
  wchar_t path[MAX_PATH + 1] = {};
  DWORD n = ::GetModuleFileNameW(instance, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return CUiString();
  wchar_t* slash = wcsrchr(path, L'\\');
  if (slash) slash[1] = 0;
  return CUiString(path);
}

HINSTANCE CWindowManagerUI::ResourceModule() { return GetInstance(); }

void CWindowManagerUI::SetResourceFolder(const wchar_t* folder) {
  InstallProvider();
  SkinSource& s = Source();
  std::lock_guard<std::mutex> hold(s.lock);
  s.folder = folder ? folder : L"";
  if (!s.folder.empty() && s.folder.back() != L'\\' && s.folder.back() != L'/') s.folder += L'\\';
}

CUiString CWindowManagerUI::GetResourceFolder() {
  SkinSource& s = Source();
  std::lock_guard<std::mutex> hold(s.lock);
  return CUiString(s.folder.c_str());
}

CUiString CWindowManagerUI::GetSkinZipName() {
  SkinSource& s = Source();
  std::lock_guard<std::mutex> hold(s.lock);
  return CUiString(s.zipName.c_str());
}

bool CWindowManagerUI::UseSkinZipFile(const wchar_t* name) {
  InstallProvider();
  SkinSource& s = Source();
  std::lock_guard<std::mutex> hold(s.lock);
  if (!name || !*name) {
    CloseZipLocked(s);
    return true;
  }
  if (s.zip && s.zipName == name) return true;
  CloseZipLocked(s);
  std::wstring path = s.folder + name;
  s.zip = CUiZipReader::Open(kZipFromFile, path.c_str(), 0);
  if (!s.zip) {
    log_error("%s: skin zip %ls not opened", __FUNCTION__, path.c_str());
    return false;
  }
  s.zipName = name;
  return true;
}

bool CWindowManagerUI::UseSkinZipInMemory(const void* bytes, DWORD size) {
  InstallProvider();
  SkinSource& s = Source();
  std::lock_guard<std::mutex> hold(s.lock);
  if (s.zip && s.zipName == kMemoryZipName) return true;
  if (!bytes || size == 0) return false;
  CloseZipLocked(s);
  const char* begin = static_cast<const char*>(bytes);
  std::vector<char>* copy = new std::vector<char>(begin, begin + size);
  s.copies.push_back(copy);
  s.zip = CUiZipReader::Open(kZipFromMemory, copy->data(), size);
  if (!s.zip) {
    log_error("%s: the skin zip resource (%lu bytes) is not a zip", __FUNCTION__,
              static_cast<unsigned long>(size));
    return false;
  }
  s.zipName = kMemoryZipName;
  return true;
}

}  // namespace UiToolkit
