#include "uitoolkit/core/notify_pump.h"

#include <wchar.h>

#include "uitoolkit/core/control.h"

namespace UiToolkit {

namespace {
const TUiMessageMapEntry kPumpEntries[] = {{nullptr, nullptr, UI_MAP_END, nullptr, nullptr}};
const TUiMessageMap kPumpMap = {nullptr, kPumpEntries};
}  // namespace

CNotifyPump::CNotifyPump() : m_virtualWindows(CUiStringMap::kDefaultBuckets) {}
CNotifyPump::~CNotifyPump() {}

const TUiMessageMap* CNotifyPump::ThisMessageMap() { return &kPumpMap; }
const TUiMessageMap* CNotifyPump::MessageMap() const { return &kPumpMap; }

bool CNotifyPump::AddVirtualWindow(const wchar_t* name, CNotifyPump* pump) {
  if (!name || !*name || !pump) return false;
  return m_virtualWindows.Add(name, pump);
}

bool CNotifyPump::RemoveVirtualWindow(const wchar_t* name) { return m_virtualWindows.Erase(name); }

const TUiMessageMapEntry* CNotifyPump::FindMapEntry(const TUiMessageMapEntry* entries,
                                                    const TUiNotify& msg) {
  CUiString sender = msg.pSender ? msg.pSender->GetName() : CUiString();
  const TUiMessageMapEntry* any_sender = nullptr;
  for (const TUiMessageMapEntry* e = entries; e->kind != UI_MAP_END; ++e) {
    if (!(msg.sType == e->type)) continue;
    const wchar_t* name = e->controlName ? e->controlName : L"";
    if (*name && sender == name) return e;
    if (!*name) any_sender = e;  // the last such entry wins
  }
  return any_sender;
}

bool CNotifyPump::DispatchThroughChain(TUiNotify& msg) {
  for (const TUiMessageMap* map = MessageMap(); map; map = map->baseMap ? map->baseMap() : nullptr) {
    const TUiMessageMapEntry* entry = FindMapEntry(map->entries, msg);
    if (!entry) continue;
    if (entry->kind == UI_MAP_WPARAM_LPARAM)
      (this->*entry->wlHandler)(msg.wParam, msg.lParam);
    else
      (this->*entry->notifyHandler)(msg);
    return true;
  }
  return false;
}

void CNotifyPump::DispatchNotify(TUiNotify& msg) {
  if (!msg.sVirtualWnd.IsEmpty()) {
    for (int i = 0; i < m_virtualWindows.GetSize(); ++i) {
      const CUiString* key = m_virtualWindows.GetKeyAt(i);
      if (!key || key->CompareNoCase(msg.sVirtualWnd) != 0) continue;
      CNotifyPump* pump = static_cast<CNotifyPump*>(m_virtualWindows.GetValueAt(i));
      if (pump && pump->DispatchThroughChain(msg)) return;
    }
  }
  DispatchThroughChain(msg);
}

}  // namespace UiToolkit
