#pragma once
// One call made on a RecordingRender or on one of its vertex streams, with its arguments,
// as the tests read them back.
#include "host/render/IVRender.h"
#include "host/win/WinTypes.h"

#include <cstddef>
#include <iosfwd>
#include <string>
#include <type_traits>
#include <vector>

enum class ERenderCall {
  StartFrame,
  StopFrame,
  LoadWorldToEyeMatrix,
  LoadEyeToWindowMatrix,
  SetBackfaceVisible,
  SetMaterialBack,
  SetMaterial,
  GetNumClipPlanes,  // logged only while query recording is on
  SetClipPlane,
  EnableClipPlane,
  BeginTransparency,
  ApplyTransparency,
  EndTransparency,
  SaveState,
  RestoreState,      // the whole state
  RestoreStateType,  // the parts a memo type selects
  GetVertexStreamPN,
  DrawBatches,
  DrawVertices,  // what reached the device: every batch of every stream, every recorded batch
  // Vertex stream calls.
  BeginTriangles,
  BeginLines,
  BeginPoints,
  End,
  AddTriangle,
  AddLine,
  AddPoint,
};

enum class EVertexKind : unsigned char { None, P, PN, PNT, PNC, Other };

template <typename V>
constexpr EVertexKind VertexKindOf() {
  if constexpr (std::is_same_v<V, IVVertexP>) return EVertexKind::P;
  else if constexpr (std::is_same_v<V, IVVertexPN>) return EVertexKind::PN;
  else if constexpr (std::is_same_v<V, IVVertexPNT>) return EVertexKind::PNT;
  else if constexpr (std::is_same_v<V, IVVertexPNC>) return EVertexKind::PNC;
  else return EVertexKind::Other;
}
EVertexKind VertexKindOf(const IVVertexLayout& layout);

struct RenderCall {
  explicit RenderCall(ERenderCall k) : kind(k) {}

  ERenderCall kind;
  unsigned slot = 0;  // clip-plane slot
  // Float arguments in order: a plane equation, a 16-value matrix, or the x, y, z of each
  // vertex given to an Add call.
  std::vector<float> floats;
  // Bool arguments in order; for DrawVertices and DrawBatches: lighting, textured.
  bool flags[2] = {false, false};
  unsigned memo = 0;  // memento type of a RestoreStateType
  // The diffuse colour of a material argument; for SaveState, RestoreState* and the draws,
  // the front diffuse colour of the state captured, restored or drawn with.
  COLORREF diffuse = 0;
  EPrimitive primitive = EPrimitive::Triangles;  // of a DrawVertices
  std::size_t count = 0;                         // vertices drawn or given to an Add call
  EVertexKind vertex = EVertexKind::None;        // of draws and stream calls
  unsigned enabledClipPlanes = 0;                // for draws: bit i set when slot i was on

  std::string ToString() const;
};

const char* ToString(ERenderCall kind);
const char* ToString(EPrimitive primitive);
const char* ToString(EVertexKind vertex);
std::ostream& operator<<(std::ostream& os, ERenderCall kind);
std::ostream& operator<<(std::ostream& os, const RenderCall& call);
