#include "testing/RecordingRender.h"

#include <algorithm>
#include <sstream>

std::vector<RenderCall> RecordingRender::CallsOf(ERenderCall kind) const {
  std::vector<RenderCall> out;
  std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(out),
               [kind](const RenderCall& c) { return c.kind == kind; });
  return out;
}

std::vector<ERenderCall> RecordingRender::Kinds() const {
  std::vector<ERenderCall> out;
  for (const RenderCall& c : m_calls) out.push_back(c.kind);
  return out;
}

std::size_t RecordingRender::CountOf(ERenderCall kind) const {
  return std::count_if(m_calls.begin(), m_calls.end(), [kind](const RenderCall& c) { return c.kind == kind; });
}

void RecordingRender::Clear() {
  m_calls.clear();
  m_drawn.clear();
}

std::string RecordingRender::ToString() const {
  std::ostringstream os;
  for (std::size_t i = 0; i < m_calls.size(); ++i) os << i << ": " << m_calls[i] << '\n';
  return os.str();
}

RenderCall& RecordingRender::_Log(ERenderCall kind, std::vector<float> floats, bool flag0, bool flag1) {
  RenderCall& c = m_calls.emplace_back(kind);
  c.floats = std::move(floats);
  c.flags[0] = flag0;
  c.flags[1] = flag1;
  return c;
}

void RecordingRender::LoadWorldToEyeMatrix(const float matrix[16]) {
  IVRender::LoadWorldToEyeMatrix(matrix);
  _Log(ERenderCall::LoadWorldToEyeMatrix, {matrix, matrix + 16});
}

void RecordingRender::LoadEyeToWindowMatrix(const float matrix[16]) {
  IVRender::LoadEyeToWindowMatrix(matrix);
  _Log(ERenderCall::LoadEyeToWindowMatrix, {matrix, matrix + 16});
}

void RecordingRender::SetBackfaceVisible(bool visible, bool backUsesFront) {
  IVRender::SetBackfaceVisible(visible, backUsesFront);
  _Log(ERenderCall::SetBackfaceVisible, {}, visible, backUsesFront);
}

void RecordingRender::SetMaterialBack(const MMaterial& material) {
  IVRender::SetMaterialBack(material);
  _Log(ERenderCall::SetMaterialBack).diffuse = material.GetDiffuse();
}

void RecordingRender::SetMaterial(const MMaterial& material) {
  IVRender::SetMaterial(material);
  _Log(ERenderCall::SetMaterial).diffuse = material.GetDiffuse();
}

void RecordingRender::SetClipPlane(unsigned slot, float a, float b, float c, float d) {
  IVRender::SetClipPlane(slot, a, b, c, d);
  _Log(ERenderCall::SetClipPlane, {a, b, c, d}).slot = slot;
}

void RecordingRender::EnableClipPlane(unsigned slot, bool on) {
  IVRender::EnableClipPlane(slot, on);
  _Log(ERenderCall::EnableClipPlane, {}, on).slot = slot;
}

void RecordingRender::RestoreState(const Memento& memento) {
  IVRender::RestoreState(memento);
  _Log(ERenderCall::RestoreState).diffuse = memento.GetMaterial().GetDiffuse();
}

void RecordingRender::RestoreState(const Memento& memento, EMemoType type) {
  IVRender::RestoreState(memento, type);
  _Log(ERenderCall::RestoreStateType).diffuse = memento.GetMaterial().GetDiffuse();
}

void RecordingRender::DrawBatches(IVVertexBatchesBase& batches, const IVDrawOptions& options) {
  _Log(ERenderCall::DrawBatches, {}, options.lighting, options.textured).count = batches.NumVertices();
  IVRender::DrawBatches(batches, options);
}

void RecordingRender::_DrawVertices(EPrimitive primitive, const IVVertexLayout& layout, const void* vertices,
                                    std::size_t count, const IVDrawOptions& options) {
  RenderCall& c = _Log(ERenderCall::DrawVertices, {}, options.lighting, options.textured);
  c.primitive = primitive;
  c.count = count;
  c.diffuse = m_state.material.GetDiffuse();
  for (unsigned i = 0; i < m_num_clip_planes; ++i)
    if (m_state.clipPlanes[i].enabled) c.enabledClipPlanes |= 1u << i;

  const auto* bytes = static_cast<const unsigned char*>(vertices);
  m_drawn.push_back({primitive, layout, std::vector<unsigned char>(bytes, bytes + count * layout.stride), count});
}
