#include "host/framework/UISlice.h"

UISlice::UISlice() : m_frame({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}) {}

UISlice::UISlice(const MFrame<float>& frame) : m_frame(frame) {}

UISlice::~UISlice() = default;

const wchar_t* UISlice::GetUserInterfaceTypeName() const { return L"Slice"; }

void UISlice::GetBoundingBox(M3DBoundingBox<float>& box, unsigned) const {
  const MFrame<float>& f = m_frame;
  for (const MMPoint3d<float>& p : {f.O, f.O + f.U, f.O + f.U + f.V, f.O + f.V}) box.Add(p);
}
