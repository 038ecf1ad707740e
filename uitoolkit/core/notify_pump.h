#pragma once
// Turns notifications into calls of member functions through static
// message-map tables. A class declares its table with UI_DECLARE_MESSAGE_MAP
// and defines it with UI_BEGIN_MESSAGE_MAP ... UI_END_MESSAGE_MAP.
#include <windows.h>

#include "uitoolkit/core/notify.h"
#include "uitoolkit/core/ui_string_map.h"

namespace UiToolkit {

class CNotifyPump;

typedef void (CNotifyPump::*UiNotifyHandler)(TUiNotify& msg);
typedef void (CNotifyPump::*UiWLHandler)(WPARAM wParam, LPARAM lParam);

enum { UI_MAP_END = 0, UI_MAP_WPARAM_LPARAM = 1, UI_MAP_NOTIFY = 2 };

struct TUiMessageMapEntry {
  const wchar_t* type;
  const wchar_t* controlName;  // empty: any sender
  int kind;
  UiNotifyHandler notifyHandler;
  UiWLHandler wlHandler;
};

struct TUiMessageMap {
  const TUiMessageMap* (*baseMap)();
  const TUiMessageMapEntry* entries;
};

class CNotifyPump {
 public:
  CNotifyPump();
  virtual ~CNotifyPump();
  virtual const TUiMessageMap* MessageMap() const;
  static const TUiMessageMap* ThisMessageMap();

  void DispatchNotify(TUiNotify& msg);
  static const TUiMessageMapEntry* FindMapEntry(const TUiMessageMapEntry* entries,
                                                const TUiNotify& msg);
  bool AddVirtualWindow(const wchar_t* name, CNotifyPump* pump);
  bool RemoveVirtualWindow(const wchar_t* name);

 private:
  bool DispatchThroughChain(TUiNotify& msg);
  CUiStringMap m_virtualWindows;
};

#define UI_DECLARE_MESSAGE_MAP()                                           \
 public:                                                                    \
  static const ::UiToolkit::TUiMessageMap* ThisMessageMap();                \
  const ::UiToolkit::TUiMessageMap* MessageMap() const override;            \
                                                                            \
 private:

#define UI_BEGIN_MESSAGE_MAP(Class, Base)                                          \
  const ::UiToolkit::TUiMessageMap* Class::MessageMap() const { return ThisMessageMap(); } \
  const ::UiToolkit::TUiMessageMap* Class::ThisMessageMap() {                      \
    typedef Class ThisClass;                                                       \
    typedef Base ThisBase;                                                         \
    static const ::UiToolkit::TUiMessageMapEntry entries[] = {
#define UI_ON_NOTIFY(type, name, fn)                                                       \
  {type, name, ::UiToolkit::UI_MAP_NOTIFY,                                                 \
   static_cast<::UiToolkit::UiNotifyHandler>(                                              \
       static_cast<void (ThisClass::*)(::UiToolkit::TUiNotify&)>(&ThisClass::fn)),          \
   nullptr},
#define UI_ON_NOTIFY_WL(type, name, fn)                                                    \
  {type, name, ::UiToolkit::UI_MAP_WPARAM_LPARAM, nullptr,                                 \
   static_cast<::UiToolkit::UiWLHandler>(                                                  \
       static_cast<void (ThisClass::*)(WPARAM, LPARAM)>(&ThisClass::fn))},
#define UI_END_MESSAGE_MAP()                                                 \
  {nullptr, nullptr, ::UiToolkit::UI_MAP_END, nullptr, nullptr}                  \
  }                                                                              \
  ;                                                                              \
  static const ::UiToolkit::TUiMessageMap map = {&ThisBase::ThisMessageMap, entries}; \
  return &map;                                                                   \
  }

}  // namespace UiToolkit
