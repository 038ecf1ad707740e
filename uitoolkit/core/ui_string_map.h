#pragma once
// String-keyed hash map of untyped pointers with per-bucket chains and
// move-to-front lookups. Keys compare exactly; values are never owned.
#include "uitoolkit/core/ui_string.h"

namespace UiToolkit {

class CUiStringMap {
 public:
  enum { kDefaultBuckets = 83 };
  explicit CUiStringMap(int buckets = kDefaultBuckets);
  ~CUiStringMap();

  static unsigned int KeyHash(const wchar_t* key);

  void* Lookup(const wchar_t* key, bool move_to_front = true) const;
  bool Add(const wchar_t* key, void* value);
  // Returns the previous value (none when the key was new).
  void* Replace(const wchar_t* key, void* value);
  bool Erase(const wchar_t* key);
  void Rehash(int buckets);

  int GetSize() const { return m_count; }
  int GetBucketCount() const { return m_buckets_count; }
  // Enumeration by position: buckets from the last to the first, each chain
  // from its head. None outside 0..size-1.
  const CUiString* GetKeyAt(int position) const;
  void* GetValueAt(int position) const;
  // Key at the head of the chain that `key` hashes to (for tests).
  const CUiString* ChainHead(const wchar_t* key) const;

 private:
  struct Node {
    CUiString key;
    void* value;
    Node* prev;
    Node* next;
  };
  CUiStringMap(const CUiStringMap&) = delete;
  CUiStringMap& operator=(const CUiStringMap&) = delete;
  Node* FindNode(const wchar_t* key, bool move_to_front) const;
  Node* NodeAt(int position) const;
  void FreeAll();

  Node** m_buckets;
  int m_buckets_count;
  int m_count;
};

}  // namespace UiToolkit
