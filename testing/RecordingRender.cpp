#include "testing/RecordingRender.h"

#include "testing/RecordingVertexStream.h"

#include <algorithm>
#include <sstream>

struct RecordingRender::Streams {
  explicit Streams(RecordingRender& r) : p(r), pn(r), pnt(r), pnc(r) {}
  RecordingVertexStream<IVVertexP> p;
  RecordingVertexStream<IVVertexPN> pn;
  RecordingVertexStream<IVVertexPNT> pnt;
  RecordingVertexStream<IVVertexPNC> pnc;
};

namespace {
// Marks a stretch in which the base class runs; restores the previous mark on leaving.
class InBase {
public:
  explicit InBase(bool& flag) : m_flag(flag), m_old(flag) { m_flag = true; }
  ~InBase() { m_flag = m_old; }

private:
  bool& m_flag;
  bool m_old;
};

RenderCall Matrix(ERenderCall kind, const float matrix[16]) {
  RenderCall c(kind);
  c.floats.assign(matrix, matrix + 16);
  return c;
}
}  // namespace

RecordingRender::RecordingRender(unsigned numClipPlanes)
    : m_num_clip_planes(std::min(numClipPlanes, IVRenderState::kMaxClipPlanes)),
      m_streams(std::make_unique<Streams>(*this)) {}

RecordingRender::~RecordingRender() = default;

void RecordingRender::SetNumClipPlanes(unsigned count) {
  m_num_clip_planes = std::min(count, IVRenderState::kMaxClipPlanes);
}

std::vector<RenderCall> RecordingRender::CallsOf(ERenderCall kind) const {
  std::vector<RenderCall> out;
  std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(out),
               [kind](const RenderCall& c) { return c.kind == kind; });
  return out;
}

std::vector<ERenderCall> RecordingRender::Kinds() const {
  std::vector<ERenderCall> out;
  out.reserve(m_calls.size());
  for (const RenderCall& c : m_calls) out.push_back(c.kind);
  return out;
}

std::size_t RecordingRender::CountOf(ERenderCall kind) const {
  return std::count_if(m_calls.begin(), m_calls.end(), [kind](const RenderCall& c) { return c.kind == kind; });
}

std::size_t RecordingRender::IndexOf(ERenderCall kind, std::size_t from) const {
  for (std::size_t i = from; i < m_calls.size(); ++i)
    if (m_calls[i].kind == kind) return i;
  return m_calls.size();
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

bool RecordingRender::StartFrame(IVDisplaySurface* surface, CDC* dc, bool keepContents) {
  RenderCall c(ERenderCall::StartFrame);
  c.flags[0] = keepContents;
  Record(std::move(c));
  return m_start_frame_result;
}

void RecordingRender::StopFrame() { Record(RenderCall(ERenderCall::StopFrame)); }

void RecordingRender::LoadWorldToEyeMatrix(const float matrix[16]) {
  IVRender::LoadWorldToEyeMatrix(matrix);
  Record(Matrix(ERenderCall::LoadWorldToEyeMatrix, matrix));
}

void RecordingRender::LoadEyeToWindowMatrix(const float matrix[16]) {
  IVRender::LoadEyeToWindowMatrix(matrix);
  Record(Matrix(ERenderCall::LoadEyeToWindowMatrix, matrix));
}

void RecordingRender::SetBackfaceVisible(bool visible, bool backUsesFront) {
  IVRender::SetBackfaceVisible(visible, backUsesFront);
  RenderCall c(ERenderCall::SetBackfaceVisible);
  c.flags[0] = visible;
  c.flags[1] = backUsesFront;
  Record(std::move(c));
}

void RecordingRender::SetMaterialBack(const MMaterial& material) {
  IVRender::SetMaterialBack(material);
  RenderCall c(ERenderCall::SetMaterialBack);
  c.diffuse = material.GetDiffuse();
  Record(std::move(c));
}

void RecordingRender::SetMaterial(const MMaterial& material) {
  IVRender::SetMaterial(material);
  RenderCall c(ERenderCall::SetMaterial);
  c.diffuse = material.GetDiffuse();
  Record(std::move(c));
}

unsigned RecordingRender::GetNumClipPlanes() const {
  if (m_record_queries && !m_in_base) {
    RenderCall c(ERenderCall::GetNumClipPlanes);
    c.count = m_num_clip_planes;
    Record(std::move(c));
  }
  return m_num_clip_planes;
}

void RecordingRender::SetClipPlane(unsigned slot, float a, float b, float c, float d) {
  {
    InBase guard(m_in_base);
    IVRender::SetClipPlane(slot, a, b, c, d);
  }
  RenderCall call(ERenderCall::SetClipPlane);
  call.slot = slot;
  call.floats = {a, b, c, d};
  Record(std::move(call));
}

void RecordingRender::EnableClipPlane(unsigned slot, bool on) {
  {
    InBase guard(m_in_base);
    IVRender::EnableClipPlane(slot, on);
  }
  RenderCall c(ERenderCall::EnableClipPlane);
  c.slot = slot;
  c.flags[0] = on;
  Record(std::move(c));
}

void RecordingRender::BeginTransparency(bool sortedTriangles) {
  RenderCall c(ERenderCall::BeginTransparency);
  c.flags[0] = sortedTriangles;
  Record(std::move(c));
}

void RecordingRender::ApplyTransparency() { Record(RenderCall(ERenderCall::ApplyTransparency)); }
void RecordingRender::EndTransparency() { Record(RenderCall(ERenderCall::EndTransparency)); }

void RecordingRender::SaveState(Memento& memento) const {
  IVRender::SaveState(memento);
  RenderCall c(ERenderCall::SaveState);
  c.diffuse = memento.GetMaterial().GetDiffuse();
  Record(std::move(c));
}

void RecordingRender::RestoreState(const Memento& memento) {
  IVRender::RestoreState(memento);
  RenderCall c(ERenderCall::RestoreState);
  c.memo = eMemoAll;
  c.diffuse = memento.GetMaterial().GetDiffuse();
  Record(std::move(c));
}

void RecordingRender::RestoreState(const Memento& memento, EMemoType type) {
  IVRender::RestoreState(memento, type);
  RenderCall c(ERenderCall::RestoreStateType);
  c.memo = type;
  c.diffuse = memento.GetMaterial().GetDiffuse();
  Record(std::move(c));
}

IIVVertexStream<IVVertexPN>* RecordingRender::GetVertexStreamPN() {
  RenderCall c(ERenderCall::GetVertexStreamPN);
  c.vertex = EVertexKind::PN;
  Record(std::move(c));
  return new RecordingVertexStream<IVVertexPN>(*this);
}

void RecordingRender::DrawBatches(IVVertexBatchesBase& batches, const IVDrawOptions& options) {
  RenderCall c(ERenderCall::DrawBatches);
  c.flags[0] = options.lighting;
  c.flags[1] = options.textured;
  c.count = batches.NumVertices();
  c.vertex = VertexKindOf(batches.Layout());
  Record(std::move(c));
  IVRender::DrawBatches(batches, options);
}

unsigned RecordingRender::EnabledClipMask() const {
  unsigned mask = 0;
  for (unsigned i = 0; i < m_num_clip_planes; ++i)
    if (m_state.clipPlanes[i].enabled) mask |= 1u << i;
  return mask;
}

void RecordingRender::_DrawVertices(EPrimitive primitive, const IVVertexLayout& layout, const void* vertices,
                                    std::size_t count, const IVDrawOptions& options) {
  RenderCall c(ERenderCall::DrawVertices);
  c.primitive = primitive;
  c.count = count;
  c.vertex = VertexKindOf(layout);
  c.flags[0] = options.lighting;
  c.flags[1] = options.textured;
  c.diffuse = m_state.material.GetDiffuse();
  c.enabledClipPlanes = EnabledClipMask();
  Record(std::move(c));

  const auto* bytes = static_cast<const unsigned char*>(vertices);
  m_drawn.push_back({primitive, layout, std::vector<unsigned char>(bytes, bytes + count * layout.stride), count});
}

IIVVertexStream<IVVertexP>& RecordingRender::_ImmediateStream(const IVVertexP*, const IVDrawOptions& o) {
  m_streams->p.SetOptions(o);
  return m_streams->p;
}
IIVVertexStream<IVVertexPN>& RecordingRender::_ImmediateStream(const IVVertexPN*, const IVDrawOptions& o) {
  m_streams->pn.SetOptions(o);
  return m_streams->pn;
}
IIVVertexStream<IVVertexPNT>& RecordingRender::_ImmediateStream(const IVVertexPNT*, const IVDrawOptions& o) {
  m_streams->pnt.SetOptions(o);
  return m_streams->pnt;
}
IIVVertexStream<IVVertexPNC>& RecordingRender::_ImmediateStream(const IVVertexPNC*, const IVDrawOptions& o) {
  m_streams->pnc.SetOptions(o);
  return m_streams->pnc;
}
