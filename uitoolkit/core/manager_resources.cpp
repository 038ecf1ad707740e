// The manager's images and default attribute lists. Fonts and the
// shared-resource chain are in manager_fonts.cpp.
#include "foundation/log/log.h"
#include "uitoolkit/core/image_resource_id.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/image/ui_image.h"

#include <new>

namespace UiToolkit {

bool ParseImageResourceId(const wchar_t* name, WORD* id) {
  if (!name || *name < L'0' || *name > L'9') return false;
  // Unsigned arithmetic wraps instead of overflowing, and the low 16 bits
  // of the wrapped value are those of the full number.
  unsigned int value = 0;
  for (const wchar_t* p = name; *p >= L'0' && *p <= L'9'; ++p) value = value * 10 + (*p - L'0');
  value &= 0xFFFF;
  if (value == 0) return false;
  if (id) *id = static_cast<WORD>(value);
  return true;
}

TUiImageInfo* CWindowManagerUI::ImageFor(const wchar_t* name, const wchar_t* type, DWORD mask) {
  if (!name || !*name) return nullptr;
  TUiImageInfo* image = static_cast<TUiImageInfo*>(m_images.Lookup(name, true));
  if (image) return image;
  return AddImageEntry(name, type, mask);
}

TUiImageInfo* CWindowManagerUI::AddImageEntry(const wchar_t* name, const wchar_t* type,
                                              DWORD mask) {
  if (!name || !*name) return nullptr;
  // A second entry under a name would either leak or free a record that
  // painting code may still hold: the loaded image stays in effect.
  TUiImageInfo* image = static_cast<TUiImageInfo*>(m_images.Lookup(name, true));
  if (image) return image;
  if (type && !*type) type = nullptr;
  if (type) {
    WORD id = 0;
    if (!ParseImageResourceId(name, &id)) {
      log_trace("%s: resource image name is not a number: %ls\n", __FUNCTION__, name);
      return nullptr;
    }
    image = CUiRender::LoadImageFile(MAKEINTRESOURCEW(id), type, mask);
  } else {
    image = CUiRender::LoadImageFile(name, nullptr, mask);
  }
  if (!image) {
    log_trace("%s: cannot load image %ls%ls%ls\n", __FUNCTION__, name, type ? L" of type " : L"",
              type ? type : L"");
    return nullptr;
  }
  if (type) image->resourceType = type;
  image->maskColour = mask;
  if (!m_images.Add(name, image)) {
    FreeImageInfo(image);
    return nullptr;
  }
  return image;
}

void CWindowManagerUI::ClearImages() {
  for (int i = 0; i < m_images.GetSize(); ++i)
    FreeImageInfo(static_cast<TUiImageInfo*>(m_images.GetValueAt(i)));
  m_images.Rehash(CUiStringMap::kDefaultBuckets);
}

void CWindowManagerUI::AddDefaultAttributes(const wchar_t* tag, const wchar_t* attributes) {
  if (!tag || !*tag) return;
  // The first list given for a tag is the one that counts.
  if (m_defaultAttributes.Lookup(tag, false)) return;
  CUiString* copy = new (std::nothrow) CUiString(attributes ? attributes : L"");
  if (!copy) return;
  if (!m_defaultAttributes.Add(tag, copy)) delete copy;
}

const wchar_t* CWindowManagerUI::DefaultAttributes(const wchar_t* tag) const {
  if (!tag || !*tag) return nullptr;
  for (const CWindowManagerUI* m = this; m; m = m->m_resourceParent) {
    const CUiString* list = static_cast<const CUiString*>(m->m_defaultAttributes.Lookup(tag, true));
    if (list) return list->GetData();
  }
  return nullptr;
}

void CWindowManagerUI::ClearDefaultAttributes() {
  for (int i = 0; i < m_defaultAttributes.GetSize(); ++i)
    delete static_cast<CUiString*>(m_defaultAttributes.GetValueAt(i));
  m_defaultAttributes.Rehash(CUiStringMap::kDefaultBuckets);
}

}  // namespace UiToolkit
