#include "uitoolkit/core/ui_string_map.h"

#include <stdlib.h>

#include <new>

namespace UiToolkit {

CUiStringMap::CUiStringMap(int buckets) : m_buckets(nullptr), m_buckets_count(0), m_count(0) {
  Rehash(buckets);
}

CUiStringMap::~CUiStringMap() { FreeAll(); }

unsigned int CUiStringMap::KeyHash(const wchar_t* key) {
  unsigned int h = 0;
  if (!key) return 0;
  for (int i = static_cast<int>(wcslen(key)) - 1; i >= 0; --i)
    h = h * 33 + static_cast<unsigned short>(key[i]);
  return h;
}

CUiStringMap::Node* CUiStringMap::FindNode(const wchar_t* key, bool move_to_front) const {
  if (!m_buckets || m_count == 0) return nullptr;
  if (!key) key = L"";
  int slot = static_cast<int>(KeyHash(key) % m_buckets_count);
  for (Node* node = m_buckets[slot]; node; node = node->next) {
    if (!(node->key == key)) continue;
    if (move_to_front && node->prev) {
      node->prev->next = node->next;
      if (node->next) node->next->prev = node->prev;
      node->prev = nullptr;
      node->next = m_buckets[slot];
      m_buckets[slot]->prev = node;
      m_buckets[slot] = node;
    }
    return node;
  }
  return nullptr;
}

void* CUiStringMap::Lookup(const wchar_t* key, bool move_to_front) const {
  Node* node = FindNode(key, move_to_front);
  return node ? node->value : nullptr;
}

bool CUiStringMap::Add(const wchar_t* key, void* value) {
  if (!m_buckets) return false;
  if (!key) key = L"";
  if (FindNode(key, true)) return false;
  Node* node = new (std::nothrow) Node;
  if (!node) return false;
  int slot = static_cast<int>(KeyHash(key) % m_buckets_count);
  node->key = key;
  node->value = value;
  node->prev = nullptr;
  node->next = m_buckets[slot];
  if (node->next) node->next->prev = node;
  m_buckets[slot] = node;
  ++m_count;
  return true;
}

void* CUiStringMap::Replace(const wchar_t* key, void* value) {
  if (!m_buckets) return value;
  Node* node = FindNode(key, true);
  if (!node) {
    Add(key, value);
    return nullptr;
  }
  void* old = node->value;
  node->value = value;
  return old;
}

bool CUiStringMap::Erase(const wchar_t* key) {
  Node* node = FindNode(key, false);
  if (!node) return false;
  int slot = static_cast<int>(KeyHash(node->key) % m_buckets_count);
  if (node->prev)
    node->prev->next = node->next;
  else
    m_buckets[slot] = node->next;
  if (node->next) node->next->prev = node->prev;
  delete node;
  --m_count;
  return true;
}

void CUiStringMap::FreeAll() {
  for (int i = 0; m_buckets && i < m_buckets_count; ++i) {
    Node* node = m_buckets[i];
    while (node) {
      Node* next = node->next;
      delete node;
      node = next;
    }
  }
  free(m_buckets);
  m_buckets = nullptr;
  m_buckets_count = 0;
  m_count = 0;
}

void CUiStringMap::Rehash(int buckets) {
  FreeAll();
  if (buckets <= 0) return;
  m_buckets = static_cast<Node**>(calloc(buckets, sizeof(Node*)));
  if (m_buckets) m_buckets_count = buckets;
}

CUiStringMap::Node* CUiStringMap::NodeAt(int position) const {
  if (position < 0 || position >= m_count) return nullptr;
  int seen = 0;
  for (int i = m_buckets_count - 1; i >= 0; --i) {
    for (Node* node = m_buckets[i]; node; node = node->next) {
      if (seen++ == position) return node;
    }
  }
  return nullptr;
}

const CUiString* CUiStringMap::GetKeyAt(int position) const {
  Node* node = NodeAt(position);
  return node ? &node->key : nullptr;
}

void* CUiStringMap::GetValueAt(int position) const {
  Node* node = NodeAt(position);
  return node ? node->value : nullptr;
}

const CUiString* CUiStringMap::ChainHead(const wchar_t* key) const {
  if (!m_buckets) return nullptr;
  Node* head = m_buckets[KeyHash(key) % m_buckets_count];
  return head ? &head->key : nullptr;
}

}  // namespace UiToolkit
