#pragma once
// A data mask: one value for every element of one kind (point, triangle or surface) of
// its owner, found at each element's MDataMaskIndex slot. The interface carries only
// the virtual destructor, so that an owner can hold masks of every element and value
// type in one list; typed access is MDataMaskBase<E> and MDataMask<E, I> in Vistal.
#include "host/HostApi.h"

class VISTAL_HOST_API IDataMask {
public:
  IDataMask() = default;
  IDataMask(const IDataMask&) = default;
  IDataMask& operator=(const IDataMask&) = default;
  virtual ~IDataMask() = default;
};
