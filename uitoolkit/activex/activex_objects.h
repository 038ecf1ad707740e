#pragma once
// A process-wide count of the COM objects the ActiveX host makes for the
// objects it hosts (sites, frames, enumerators, download managers). A host
// that has been released leaves the count where it was before it was made.
#include <windows.h>

namespace UiToolkit {

long ActiveXLiveObjectCount();

// Derive a COM object of the host from this to have it counted.
class CCountedComObject {
 protected:
  CCountedComObject();
  ~CCountedComObject();
  CCountedComObject(const CCountedComObject&) = delete;
  CCountedComObject& operator=(const CCountedComObject&) = delete;
};

}  // namespace UiToolkit
