#include "testing/RenderCall.h"

#include <cstdio>
#include <ostream>
#include <sstream>

const char* ToString(ERenderCall kind) {
  switch (kind) {
    case ERenderCall::StartFrame: return "StartFrame";
    case ERenderCall::StopFrame: return "StopFrame";
    case ERenderCall::LoadWorldToEyeMatrix: return "LoadWorldToEyeMatrix";
    case ERenderCall::LoadEyeToWindowMatrix: return "LoadEyeToWindowMatrix";
    case ERenderCall::SetBackfaceVisible: return "SetBackfaceVisible";
    case ERenderCall::SetMaterialBack: return "SetMaterialBack";
    case ERenderCall::SetMaterial: return "SetMaterial";
    case ERenderCall::GetNumClipPlanes: return "GetNumClipPlanes";
    case ERenderCall::SetClipPlane: return "SetClipPlane";
    case ERenderCall::EnableClipPlane: return "EnableClipPlane";
    case ERenderCall::BeginTransparency: return "BeginTransparency";
    case ERenderCall::ApplyTransparency: return "ApplyTransparency";
    case ERenderCall::EndTransparency: return "EndTransparency";
    case ERenderCall::SaveState: return "SaveState";
    case ERenderCall::RestoreState: return "RestoreState";
    case ERenderCall::RestoreStateType: return "RestoreStateType";
    case ERenderCall::GetVertexStreamPN: return "GetVertexStreamPN";
    case ERenderCall::DrawBatches: return "DrawBatches";
    case ERenderCall::DrawVertices: return "DrawVertices";
    case ERenderCall::BeginTriangles: return "BeginTriangles";
    case ERenderCall::BeginLines: return "BeginLines";
    case ERenderCall::BeginPoints: return "BeginPoints";
    case ERenderCall::End: return "End";
    case ERenderCall::AddTriangle: return "AddTriangle";
    case ERenderCall::AddLine: return "AddLine";
    case ERenderCall::AddPoint: return "AddPoint";
  }
  return "?";
}

const char* ToString(EPrimitive primitive) {
  switch (primitive) {
    case EPrimitive::Triangles: return "triangles";
    case EPrimitive::Lines: return "lines";
    case EPrimitive::Points: return "points";
  }
  return "?";
}

const char* ToString(EVertexKind vertex) {
  switch (vertex) {
    case EVertexKind::None: return "";
    case EVertexKind::P: return "P";
    case EVertexKind::PN: return "PN";
    case EVertexKind::PNT: return "PNT";
    case EVertexKind::PNC: return "PNC";
    case EVertexKind::Other: return "other";
  }
  return "?";
}

EVertexKind VertexKindOf(const IVVertexLayout& l) {
  auto is = [&l](const IVVertexLayout& o) {
    return l.stride == o.stride && l.normal == o.normal && l.texcoord == o.texcoord && l.colour == o.colour;
  };
  if (is(IVVertexLayoutOf<IVVertexP>())) return EVertexKind::P;
  if (is(IVVertexLayoutOf<IVVertexPN>())) return EVertexKind::PN;
  if (is(IVVertexLayoutOf<IVVertexPNT>())) return EVertexKind::PNT;
  if (is(IVVertexLayoutOf<IVVertexPNC>())) return EVertexKind::PNC;
  return EVertexKind::Other;
}

namespace {
void Floats(std::ostream& os, const std::vector<float>& f, std::size_t first, std::size_t n) {
  for (std::size_t i = first; i < first + n && i < f.size(); ++i) os << (i > first ? ", " : "") << f[i];
}

void Colour(std::ostream& os, COLORREF c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", unsigned(c));
  os << buf;
}
}  // namespace

std::string RenderCall::ToString() const {
  std::ostringstream os;
  os << ::ToString(kind);
  if (vertex != EVertexKind::None) os << '<' << ::ToString(vertex) << '>';
  os << '(';
  switch (kind) {
    case ERenderCall::StartFrame:
      os << "keepContents=" << flags[0];
      break;
    case ERenderCall::LoadWorldToEyeMatrix:
    case ERenderCall::LoadEyeToWindowMatrix:
      for (std::size_t row = 0; row < 4; ++row) {
        os << (row ? "; " : "");
        Floats(os, floats, row * 4, 4);
      }
      break;
    case ERenderCall::SetBackfaceVisible:
      os << flags[0] << ", " << flags[1];
      break;
    case ERenderCall::SetMaterialBack:
    case ERenderCall::SetMaterial:
    case ERenderCall::SaveState:
    case ERenderCall::RestoreState:
      os << "diffuse=";
      Colour(os, diffuse);
      break;
    case ERenderCall::RestoreStateType:
      os << "type=" << memo << ", diffuse=";
      Colour(os, diffuse);
      break;
    case ERenderCall::GetNumClipPlanes:
      os << ") -> " << count;
      return os.str();
    case ERenderCall::SetClipPlane:
      os << slot << ", ";
      Floats(os, floats, 0, 4);
      break;
    case ERenderCall::EnableClipPlane:
      os << slot << ", " << flags[0];
      break;
    case ERenderCall::BeginTransparency:
      os << flags[0];
      break;
    case ERenderCall::DrawBatches:
      os << count << " vertices, lighting=" << flags[0] << ", textured=" << flags[1];
      break;
    case ERenderCall::DrawVertices:
      os << ::ToString(primitive) << ", " << count << " vertices, lighting=" << flags[0] << ", textured=" << flags[1]
         << ", diffuse=";
      Colour(os, diffuse);
      os << ", clip planes=0x" << std::hex << enabledClipPlanes << std::dec;
      break;
    case ERenderCall::AddTriangle:
    case ERenderCall::AddLine:
    case ERenderCall::AddPoint:
      for (std::size_t v = 0; v < count; ++v) {
        os << (v ? ", " : "") << '(';
        Floats(os, floats, v * 3, 3);
        os << ')';
      }
      break;
    default:
      break;
  }
  os << ')';
  return os.str();
}

std::ostream& operator<<(std::ostream& os, ERenderCall kind) { return os << ToString(kind); }
std::ostream& operator<<(std::ostream& os, const RenderCall& call) { return os << call.ToString(); }
