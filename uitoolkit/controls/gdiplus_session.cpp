#include "uitoolkit/controls/gdiplus_session.h"

#include <windows.h>

#include <objidl.h>  // PROPID, which a lean windows.h leaves out
#include <gdiplus.h>

#include <mutex>

#include "foundation/log/log.h"

namespace UiToolkit {
namespace {

class GdiplusSession {
 public:
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::Status status = Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    started_ = status == Gdiplus::Ok;
    if (!started_) log_error("%s: GdiplusStartup failed (%d)", __FUNCTION__, static_cast<int>(status));
  }
  // Runs with the other static destructors when the process exits.
  ~GdiplusSession() {
    if (started_) Gdiplus::GdiplusShutdown(token_);
  }
  bool started() const { return started_; }

 private:
  ULONG_PTR token_ = 0;
  bool started_ = false;
};

}  // namespace

bool EnsureGdiplusStarted() {
  // Function-local statics are initialised once, thread-safely.
  static GdiplusSession session;
  return session.started();
}

}  // namespace UiToolkit
