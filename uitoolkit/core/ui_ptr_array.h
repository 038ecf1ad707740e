#pragma once
// Growable array of untyped pointers that keeps insertion order and never
// owns what its items point to.

namespace UiToolkit {

class CUiPtrArray {
 public:
  CUiPtrArray();
  CUiPtrArray(const CUiPtrArray& other);
  CUiPtrArray& operator=(const CUiPtrArray& other);
  ~CUiPtrArray();

  bool Add(void* item);
  bool InsertAt(int index, void* item);
  bool RemoveAt(int index);
  // Removes the first occurrence; false when absent.
  bool Remove(void* item);
  void Empty();

  int GetSize() const { return m_count; }
  int GetCapacity() const { return m_capacity; }
  bool IsEmpty() const { return m_count == 0; }
  int Find(const void* item) const;
  // None outside 0..count-1.
  void* GetAt(int index) const;
  void* operator[](int index) const { return GetAt(index); }

 private:
  bool GrowFor(int new_count);
  void** m_items;
  int m_count;
  int m_capacity;
};

}  // namespace UiToolkit
