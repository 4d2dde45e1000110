#pragma once
// A renderer for tests: it keeps the real state of IVRender (so mementos capture and
// restore for real), draws through the base class's streams, and logs every state call
// and every draw in the order made. Every batch that reaches the device is kept, so a
// test can read back exactly which vertices were drawn, as what, with which state.
#include "host/render/IVRender.h"
#include "testing/RenderCall.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

class RecordingRender : public IVRender {
public:
  explicit RecordingRender(unsigned numClipPlanes = IVRenderState::kMaxClipPlanes) { SetNumClipPlanes(numClipPlanes); }

  // The number of user clip planes offered, clamped to 0..8.
  void SetNumClipPlanes(unsigned count) { m_num_clip_planes = std::min(count, IVRenderState::kMaxClipPlanes); }

  // The log.
  const std::vector<RenderCall>& Calls() const { return m_calls; }
  std::vector<RenderCall> CallsOf(ERenderCall kind) const;
  std::vector<ERenderCall> Kinds() const;
  std::size_t CountOf(ERenderCall kind) const;
  // Forgets the log and the drawn batches; the state stays.
  void Clear();
  // The whole log, one call a line.
  std::string ToString() const;

  // A batch drawn with vertices of type V.
  template <typename V>
  struct Batch {
    EPrimitive primitive;
    std::vector<V> vertices;
  };
  // Every batch of vertex type V that reached the device, in drawing order.
  template <typename V>
  std::vector<Batch<V>> Batches() const;

  // IVRender.
  bool StartFrame(IVDisplaySurface*, CDC*, bool keepContents) override {
    _Log(ERenderCall::StartFrame, {}, keepContents);
    return true;
  }
  void StopFrame() override { _Log(ERenderCall::StopFrame); }
  void LoadWorldToEyeMatrix(const float matrix[16]) override;
  void LoadEyeToWindowMatrix(const float matrix[16]) override;
  void SetBackfaceVisible(bool visible, bool backUsesFront) override;
  void SetMaterialBack(const MMaterial& material) override;
  void SetMaterial(const MMaterial& material) override;
  unsigned GetNumClipPlanes() const override { return m_num_clip_planes; }
  void SetClipPlane(unsigned slot, float a, float b, float c, float d) override;
  void EnableClipPlane(unsigned slot, bool on) override;
  void BeginTransparency(bool sortedTriangles) override { _Log(ERenderCall::BeginTransparency, {}, sortedTriangles); }
  void ApplyTransparency() override { _Log(ERenderCall::ApplyTransparency); }
  void EndTransparency() override { _Log(ERenderCall::EndTransparency); }
  void RestoreState(const Memento& memento) override;
  void RestoreState(const Memento& memento, EMemoType type) override;
  void DrawBatches(IVVertexBatchesBase& batches, const IVDrawOptions& options) override;

protected:
  void _DrawVertices(EPrimitive primitive, const IVVertexLayout& layout, const void* vertices, std::size_t count,
                     const IVDrawOptions& options) override;

private:
  RenderCall& _Log(ERenderCall kind, std::vector<float> floats = {}, bool flag0 = false, bool flag1 = false);

  struct DrawnBatch {
    EPrimitive primitive;
    IVVertexLayout layout;
    std::vector<unsigned char> bytes;
    std::size_t count;
  };

  unsigned m_num_clip_planes = 0;
  std::vector<RenderCall> m_calls;
  std::vector<DrawnBatch> m_drawn;
};

template <typename V>
std::vector<RecordingRender::Batch<V>> RecordingRender::Batches() const {
  const IVVertexLayout want = IVVertexLayoutOf<V>();
  std::vector<Batch<V>> out;
  for (const DrawnBatch& d : m_drawn) {
    const IVVertexLayout& l = d.layout;
    if (l.stride != want.stride || l.normal != want.normal || l.texcoord != want.texcoord || l.colour != want.colour)
      continue;
    Batch<V> b{d.primitive, std::vector<V>(d.count)};
    if (d.count) std::memcpy(b.vertices.data(), d.bytes.data(), d.count * sizeof(V));
    out.push_back(std::move(b));
  }
  return out;
}
