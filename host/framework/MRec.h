#pragma once
// The framework's small array containers, header classes whose code each library that
// uses them carries itself. MRec holds an array of exactly `count` items; MRecList keeps
// spare slots behind the items in use (`capacity`); MRecListSort is the list under the
// name the framework's sorted lists use (no sorting is offered: its users keep their own
// order, such as the order slices were attached in).
//
// Items are plain values (pointers, numbers): the array is allocated with new[] and
// unused slots hold value-initialised items. Allocation failure answers false rather
// than throwing, so that a caller can leave its list as it was.
#include <algorithm>
#include <cstdint>
#include <new>

// An owned (or borrowed, `owns` false) array of exactly `count` items.
template <typename T>
class MRec {
public:
  MRec() = default;
  MRec(const MRec& other) { _CopyFrom(other); }
  MRec& operator=(const MRec& other) {
    if (this != &other) {
      Free();
      _CopyFrom(other);
    }
    return *this;
  }
  virtual ~MRec() { MRec::Free(); }

  // A fresh array of n items (count n); false, and empty, when it cannot be allocated.
  virtual bool Allocate(std::uint32_t n) {
    Free();
    if (n == 0) return true;
    T* fresh = new (std::nothrow) T[n]();
    if (!fresh) return false;
    items = fresh;
    count = n;
    return true;
  }
  // Releases the array when owned; the record is empty and owning afterwards.
  virtual void Free() {
    if (owns && items) delete[] items;
    items = nullptr;
    count = 0;
    owns = true;
  }
  // n items, the first min(count, n) kept in order; false (unchanged) when the new array
  // cannot be allocated.
  virtual bool Reallocate(std::uint32_t n) {
    if (n == 0) {
      Free();
      return true;
    }
    if (!items) return Allocate(n);
    T* fresh = new (std::nothrow) T[n]();
    if (!fresh) return false;
    std::copy(items, items + std::min(count, n), fresh);
    if (owns) delete[] items;
    items = fresh;
    owns = true;
    count = n;
    return true;
  }

  std::uint32_t GetCount() const { return count; }
  T& operator[](std::uint32_t i) { return items[i]; }
  const T& operator[](std::uint32_t i) const { return items[i]; }

protected:
  void _CopyFrom(const MRec& other) {
    if (other.count == 0 || !MRec::Allocate(other.count)) return;
    std::copy(other.items, other.items + other.count, items);
  }

  T* items = nullptr;
  bool owns = true;
  std::uint32_t count = 0;
};

// An array of `capacity` slots of which the first `count` are in use.
template <typename T>
class MRecList : public MRec<T> {
public:
  MRecList() = default;
  // A copy gets an array of its own holding the same items.
  MRecList(const MRecList& other) : MRec<T>() { _CopyFrom(other); }
  MRecList& operator=(const MRecList& other) {
    if (this != &other) {
      Free();
      _CopyFrom(other);
    }
    return *this;
  }
  ~MRecList() override { MRecList::Free(); }

  // n slots, none in use. The same capacity keeps the array and only empties it.
  bool Allocate(std::uint32_t n) override {
    if (n == capacity) {
      this->count = 0;
      return true;
    }
    Free();
    if (n == 0) return true;
    T* fresh = new (std::nothrow) T[n]();
    if (!fresh) return false;
    this->items = fresh;
    capacity = n;
    return true;
  }
  void Free() override {
    MRec<T>::Free();
    capacity = 0;
  }
  // n slots, the first min(count, n) items kept in order and in use.
  bool Reallocate(std::uint32_t n) override {
    if (n == 0) {
      Free();
      return true;
    }
    if (capacity == 0) return Allocate(n);
    T* fresh = new (std::nothrow) T[n]();
    if (!fresh) return false;
    const std::uint32_t kept = std::min(this->count, n);
    std::copy(this->items, this->items + kept, fresh);
    if (this->owns) delete[] this->items;
    this->items = fresh;
    this->owns = true;
    capacity = n;
    this->count = kept;
    return true;
  }
  // As Reallocate, with all n slots in use afterwards.
  virtual bool SetCount(std::uint32_t n) {
    if (!Reallocate(n)) return false;
    this->count = n;
    return true;
  }

  // Appends into a spare slot; false when the list is full (the caller decides how much
  // to grow it by).
  bool Append(const T& item) {
    if (this->count >= capacity) return false;
    this->items[this->count++] = item;
    return true;
  }
  // Removes item i, keeping the order of the others. When 40 or more slots are then
  // spare, the array shrinks to the items in use, so that a list that once held many
  // items does not keep their memory.
  bool RemoveAt(std::uint32_t i) {
    if (i >= this->count) return false;
    std::copy(this->items + i + 1, this->items + this->count, this->items + i);
    this->items[--this->count] = T();
    if (capacity - this->count >= 40) Reallocate(this->count);
    return true;
  }

  std::uint32_t GetCapacity() const { return capacity; }

protected:
  void _CopyFrom(const MRecList& other) {
    if (other.capacity == 0 || !Allocate(other.capacity)) return;
    std::copy(other.items, other.items + other.count, this->items);
    this->count = other.count;
  }

  std::uint32_t capacity = 0;
};

// The list under the framework's name for its sorted lists.
template <typename T>
class MRecListSort : public MRecList<T> {
public:
  MRecListSort() = default;
  MRecListSort(const MRecListSort&) = default;
  MRecListSort& operator=(const MRecListSort&) = default;
  ~MRecListSort() override = default;
};
