// Builds a tree of 5,000 named controls (50 panels of 100), times entering
// their names into a manager's name map, and times FindControl for names
// that are there, names that are not, and one name asked again and again,
// against the walk of the tree that the name map saves.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/uitoolkit/fixtures/stopwatch.h"
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/window_manager.h"

using namespace UiToolkit;

namespace {

const int kPanels = 50;
const int kPerPanel = 100;
const int kNamed = kPanels * kPerPanel;

// A plain container: children searched in order, self last.
class Panel : public CControlUI {
 public:
  ~Panel() override {
    for (CControlUI* c : children_) delete c;
  }
  void Add(CControlUI* child) { children_.push_back(child); }
  void AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool init) override {
    for (CControlUI* c : children_) c->AttachManager(manager, this, init);
    CControlUI::AttachManager(manager, parent, init);
  }
  CControlUI* Search(FindControlProc proc, LPVOID data, UINT flags) override {
    for (CControlUI* c : children_)
      if (CControlUI* r = c->Search(proc, data, flags)) return r;
    return CControlUI::Search(proc, data, flags);
  }

 private:
  std::vector<CControlUI*> children_;
};

std::wstring NameOf(int i) {
  static const wchar_t* kinds[] = {L"btn_", L"lbl_", L"edit_", L"opt_", L"list_item_"};
  return std::wstring(kinds[i % 5]) + L"row" + std::to_wstring(i / 5) + L"_" + std::to_wstring(i);
}

Panel* BuildTree() {
  Panel* root = new Panel;
  root->SetName(L"root");
  for (int p = 0; p < kPanels; ++p) {
    Panel* panel = new Panel;  // unnamed, as most layouts are
    for (int k = 0; k < kPerPanel; ++k) {
      CControlUI* c = new CControlUI;
      c->SetName(NameOf(p * kPerPanel + k).c_str());
      panel->Add(c);
    }
    root->Add(panel);
  }
  return root;
}

CControlUI* CALLBACK MatchName(CControlUI* control, LPVOID data) {
  return control->GetName() == static_cast<const wchar_t*>(data) ? control : nullptr;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Seconds per call of `f`, the median of `rounds` rounds of `calls` calls.
template <typename F>
double PerCall(int rounds, int calls, F f) {
  std::vector<double> times;
  for (int r = 0; r < rounds; ++r) {
    double t0 = fixtures::Seconds();
    for (int i = 0; i < calls; ++i) f(i);
    times.push_back((fixtures::Seconds() - t0) / calls);
  }
  return Median(times);
}

}  // namespace

int main() {
  std::vector<std::wstring> names;
  for (int i = 0; i < kNamed; ++i) names.push_back(NameOf(i));
  // A fixed shuffle, so every run asks in the same order.
  std::vector<int> order(kNamed);
  unsigned seed = 12345;
  for (int i = 0; i < kNamed; ++i) order[i] = i;
  for (int i = kNamed - 1; i > 0; --i) {
    seed = seed * 1103515245u + 12345u;
    std::swap(order[i], order[(seed >> 8) % (i + 1)]);
  }

  // Entering the names: a fresh manager and tree each round.
  std::vector<double> attach;
  for (int r = 0; r < 15; ++r) {
    CWindowManagerUI m;
    Panel* root = BuildTree();
    double t0 = fixtures::Seconds();
    m.AttachRoot(root);
    attach.push_back(fixtures::Seconds() - t0);
  }

  CWindowManagerUI m;
  Panel* root = BuildTree();
  m.AttachRoot(root);
  int found = 0;
  for (const std::wstring& n : names) found += m.FindControl(n.c_str()) ? 1 : 0;
  if (found != kNamed) {
    fprintf(stderr, "only %d of %d names found\n", found, kNamed);
    return 1;
  }
  const double reregister = PerCall(15, 1, [&](int) { m.RegisterNames(root); });

  volatile int hits = 0;
  const double hit = PerCall(9, 200000, [&](int i) {
    hits += m.FindControl(names[order[i % kNamed]].c_str()) != nullptr;
  });
  std::vector<std::wstring> absent;
  for (int i = 0; i < kNamed; ++i) absent.push_back(names[i] + L"x");
  const double miss = PerCall(9, 200000, [&](int i) {
    hits += m.FindControl(absent[order[i % kNamed]].c_str()) != nullptr;
  });
  const wchar_t* same = names[kNamed / 2].c_str();
  const double repeat = PerCall(9, 200000, [&](int) { hits += m.FindControl(same) != nullptr; });
  const double walk = PerCall(9, 200, [&](int i) {
    hits += root->Search(&MatchName, const_cast<wchar_t*>(names[order[i % kNamed]].c_str()),
                         UIFIND_ALL) != nullptr;
  });

  printf("named_controls: %d\n", kNamed);
  printf("attach_root_register_names_ms: %.3f\n", Median(attach) * 1e3);
  printf("register_names_again_ms: %.3f\n", reregister * 1e3);
  printf("find_control_hit_ns: %.1f\n", hit * 1e9);
  printf("find_control_miss_ns: %.1f\n", miss * 1e9);
  printf("find_control_same_name_ns: %.1f\n", repeat * 1e9);
  printf("tree_walk_by_name_ns: %.1f\n", walk * 1e9);
  printf("ratio_tree_walk_over_find_control: %.1f\n", walk / hit);
  printf("ratio_register_over_one_tree_walk: %.1f\n", Median(attach) / walk);
  return 0;
}
