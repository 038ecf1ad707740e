#include "uitoolkit/core/ui_ptr_array.h"

#include <stdlib.h>
#include <string.h>

namespace UiToolkit {

CUiPtrArray::CUiPtrArray() : m_items(nullptr), m_count(0), m_capacity(0) {}

CUiPtrArray::CUiPtrArray(const CUiPtrArray& other) : m_items(nullptr), m_count(0), m_capacity(0) {
  for (int i = 0; i < other.m_count; ++i) Add(other.m_items[i]);
}

CUiPtrArray& CUiPtrArray::operator=(const CUiPtrArray& other) {
  if (this != &other) {
    Empty();
    for (int i = 0; i < other.m_count; ++i) Add(other.m_items[i]);
  }
  return *this;
}

CUiPtrArray::~CUiPtrArray() { free(m_items); }

// The array keeps one free slot: it grows when count + 1 reaches the
// capacity, doubling it (an empty array starts at 11).
bool CUiPtrArray::GrowFor(int new_count) {
  if (new_count < m_capacity) return true;
  int capacity = m_capacity ? m_capacity * 2 : 11;
  void** items = static_cast<void**>(realloc(m_items, capacity * sizeof(void*)));
  if (!items) return false;
  m_items = items;
  m_capacity = capacity;
  return true;
}

bool CUiPtrArray::Add(void* item) {
  if (!GrowFor(m_count + 1)) return false;
  m_items[m_count++] = item;
  return true;
}

bool CUiPtrArray::InsertAt(int index, void* item) {
  if (index == m_count) return Add(item);
  if (index < 0 || index > m_count) return false;
  if (!GrowFor(m_count + 1)) return false;
  memmove(&m_items[index + 1], &m_items[index], (m_count - index) * sizeof(void*));
  m_items[index] = item;
  ++m_count;
  return true;
}

bool CUiPtrArray::RemoveAt(int index) {
  if (index < 0 || index >= m_count) return false;
  memmove(&m_items[index], &m_items[index + 1], (m_count - index - 1) * sizeof(void*));
  --m_count;
  return true;
}

bool CUiPtrArray::Remove(void* item) { return RemoveAt(Find(item)); }

void CUiPtrArray::Empty() {
  free(m_items);
  m_items = nullptr;
  m_count = 0;
  m_capacity = 0;
}

int CUiPtrArray::Find(const void* item) const {
  for (int i = 0; i < m_count; ++i)
    if (m_items[i] == item) return i;
  return -1;
}

void* CUiPtrArray::GetAt(int index) const {
  return (index >= 0 && index < m_count) ? m_items[index] : nullptr;
}

}  // namespace UiToolkit
