#pragma once
// A set of image slices the user navigates through (axial, coronal, sagittal, ...).
// Clipping planes may follow one; the set reports the kind of slice it shows.
class IUISliceSetWithNavigation {
public:
  // 0 means no slice kind; the host numbers the others.
  enum SLICE_TYPE : int { eSliceNone = 0, eSliceAxial = 1, eSliceCoronal = 2, eSliceSagittal = 3, eSliceOblique = 4 };

  virtual SLICE_TYPE GetSliceType() const = 0;
  virtual ~IUISliceSetWithNavigation() = default;
};
