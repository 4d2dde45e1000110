#pragma once
// One call made on a RecordingRender, with its arguments, as the tests read them back.
#include "host/render/IVRender.h"
#include "host/win/WinTypes.h"

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

enum class ERenderCall {
  StartFrame,
  StopFrame,
  LoadWorldToEyeMatrix,
  LoadEyeToWindowMatrix,
  SetBackfaceVisible,
  SetMaterialBack,
  SetMaterial,
  SetClipPlane,
  EnableClipPlane,
  BeginTransparency,
  ApplyTransparency,
  EndTransparency,
  RestoreState,      // the whole state
  RestoreStateType,  // the parts a memo type selects
  DrawBatches,
  DrawVertices,  // what reached the device: every batch of every stream, every recorded batch
};

struct RenderCall {
  explicit RenderCall(ERenderCall k) : kind(k) {}

  ERenderCall kind;
  unsigned slot = 0;  // clip-plane slot
  // Float arguments in order: a plane equation or a 16-value matrix.
  std::vector<float> floats;
  // Bool arguments in order; for DrawVertices and DrawBatches: lighting, textured.
  bool flags[2] = {false, false};
  // The diffuse colour of a material argument; for RestoreState* and DrawVertices, the
  // front diffuse colour of the state restored or drawn with.
  COLORREF diffuse = 0;
  EPrimitive primitive = EPrimitive::Triangles;  // of a DrawVertices
  std::size_t count = 0;                         // vertices drawn
  unsigned enabledClipPlanes = 0;                // for DrawVertices: bit i set when slot i was on

  std::string ToString() const;
};

std::ostream& operator<<(std::ostream& os, ERenderCall kind);
std::ostream& operator<<(std::ostream& os, const RenderCall& call);
