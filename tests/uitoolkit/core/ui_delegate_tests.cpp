#include <gtest/gtest.h>

#include <string>

#include "uitoolkit/core/ui_delegate.h"

using namespace UiToolkit;

namespace {

struct Listener {
  std::wstring* log;
  wchar_t tag;
  bool answer;
  bool OnEvent(void*) {
    log->push_back(tag);
    return answer;
  }
  bool Other(void*) {
    log->push_back(L'*');
    return true;
  }
};

TEST(UiEventSource, DuplicatesRefusedAndRaiseStopsAtFalse) {
  std::wstring log;
  Listener a{&log, L'a', true}, b{&log, L'b', false}, c{&log, L'c', true};
  CUiEventSource source;
  EXPECT_TRUE(source.Raise(nullptr));  // empty source
  source.Add(MakeDelegate(&a, &Listener::OnEvent));
  source.Add(MakeDelegate(&a, &Listener::OnEvent));  // same object and function
  source.Add(MakeDelegate(&a, &Listener::Other));    // same object, other function
  EXPECT_EQ(2, source.GetSize());
  EXPECT_TRUE(source.Raise(nullptr));
  EXPECT_EQ(std::wstring(L"a*"), log);

  source.Add(MakeDelegate(&b, &Listener::OnEvent));
  source.Add(MakeDelegate(&c, &Listener::OnEvent));
  log.clear();
  EXPECT_FALSE(source.Raise(nullptr));
  EXPECT_EQ(std::wstring(L"a*b"), log);  // c never called

  source.Remove(MakeDelegate(&b, &Listener::OnEvent));
  log.clear();
  EXPECT_TRUE(source.Raise(nullptr));
  EXPECT_EQ(std::wstring(L"a*c"), log);
}

int g_static_calls = 0;
bool StaticHandler(void* param) {
  ++g_static_calls;
  return param != nullptr;
}

TEST(UiEventSource, PlainFunctionsAndEquality) {
  CUiEventSource source;
  source += MakeDelegate(&StaticHandler);
  source += MakeDelegate(&StaticHandler);
  EXPECT_EQ(1, source.GetSize());
  int dummy = 0;
  EXPECT_TRUE(source.Raise(&dummy));
  EXPECT_FALSE(source.Raise(nullptr));
  EXPECT_EQ(2, g_static_calls);
  std::wstring log;
  Listener x{&log, L'x', true}, y{&log, L'y', true};
  EXPECT_TRUE(MakeDelegate(&x, &Listener::OnEvent).Equals(MakeDelegate(&x, &Listener::OnEvent)));
  EXPECT_FALSE(MakeDelegate(&x, &Listener::OnEvent).Equals(MakeDelegate(&y, &Listener::OnEvent)));
}

}  // namespace
