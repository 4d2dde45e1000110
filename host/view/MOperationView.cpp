#include "host/view/MOperationView.h"

MOperationView::MOperationView() { m_flags = eFlagRedraw3DViews; }
MOperationView::~MOperationView() = default;

void MOperationView::SetAction(std::uint32_t action) {
  MOperation::SetAction(action);
  m_flags = eFlagRedraw3DViews;
}

void MOperationView::SetDeltas(float x, float y, float z) {
  m_values[0] = x;
  m_values[1] = y;
  m_values[2] = z;
}

void MOperationView::SetActionRotateStandard(CWnd* wnd, float aboutX, float aboutY, float aboutZ) {
  SetAction(eActionRotateStandard);
  mp_wnd = wnd;
  SetDeltas(aboutX, aboutY, aboutZ);
}

void MOperationView::SetActionRotateAroundObjectZ(CWnd* wnd, float aboutX, float aboutY, float aboutZ) {
  SetAction(eActionRotateAroundObjectZ);
  mp_wnd = wnd;
  SetDeltas(aboutX, aboutY, aboutZ);
}

std::wstring MOperationView::_GetActionString() const {
  switch (m_action) {
    case eActionZoomRect: return L"Zoom to rectangle";
    case eActionRotateStandard:
    case eActionRotateAroundObjectZ: return L"Rotate view";
    case eActionZoom: return L"Zoom";
    case eActionPan: return L"Pan";
    default: return MOperation::_GetActionString();
  }
}
