#include "host/render/IVRenderPlacement.h"

#include "host/framework/MTransformRepository.h"
#include "host/render/IVRender.h"

IVRenderPlacement::IVRenderPlacement(IVRender& render, const MCoordinateSystem& objectSystem,
                                     const MCoordinateSystem& drawnIn)
    : m_render(render) {
  // The repository's answer is overwritten by its next lookup: read it at once.
  const MMTransform& placement = MTransformRepository::mgp_instance->GetTransform(objectSystem, drawnIn);
  if (placement.IsIdentity()) return;
  double p[16];
  placement.GetMatrixDouble(p);
  m_saved = render.GetState().worldToEye;
  // Row-major, points as columns: the object's points go through the placement first.
  float m[16];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += double(m_saved[i * 4 + k]) * p[k * 4 + j];
      m[i * 4 + j] = float(sum);
    }
  render.LoadWorldToEyeMatrix(m);
  m_loaded = true;
}

IVRenderPlacement::~IVRenderPlacement() {
  if (m_loaded) m_render.LoadWorldToEyeMatrix(m_saved.data());
}
