#pragma once
// A renderer for tests: it keeps the real state of IVRender (so mementos capture and
// restore for real) and logs every call, with its arguments, in the order made. Its
// immediate streams and the streams of GetVertexStreamPN are RecordingVertexStreams that
// log into the same log, and every batch that reaches the device is kept, so a test can
// read back exactly which vertices were drawn, as what, with which state.
#include "host/render/IVRender.h"
#include "testing/RenderCall.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

class RecordingRender : public IVRender {
public:
  explicit RecordingRender(unsigned numClipPlanes = IVRenderState::kMaxClipPlanes);
  ~RecordingRender() override;

  // The number of user clip planes offered, clamped to 0..8.
  void SetNumClipPlanes(unsigned count);
  // What StartFrame answers (true unless set otherwise).
  void SetStartFrameResult(bool opened) { m_start_frame_result = opened; }
  // Logs GetNumClipPlanes calls too; off by default, since it is a query that clutters
  // the sequences most tests look at.
  void SetRecordQueries(bool on) { m_record_queries = on; }

  // The log.
  const std::vector<RenderCall>& Calls() const { return m_calls; }
  std::vector<RenderCall> CallsOf(ERenderCall kind) const;
  std::vector<ERenderCall> Kinds() const;
  std::size_t CountOf(ERenderCall kind) const;
  // Index of the first call of the kind at or after `from`, or Calls().size().
  std::size_t IndexOf(ERenderCall kind, std::size_t from = 0) const;
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
  bool StartFrame(IVDisplaySurface* surface, CDC* dc, bool keepContents) override;
  void StopFrame() override;
  void LoadWorldToEyeMatrix(const float matrix[16]) override;
  void LoadEyeToWindowMatrix(const float matrix[16]) override;
  void SetBackfaceVisible(bool visible, bool backUsesFront) override;
  void SetMaterialBack(const MMaterial& material) override;
  void SetMaterial(const MMaterial& material) override;
  unsigned GetNumClipPlanes() const override;
  void SetClipPlane(unsigned slot, float a, float b, float c, float d) override;
  void EnableClipPlane(unsigned slot, bool on) override;
  void BeginTransparency(bool sortedTriangles) override;
  void ApplyTransparency() override;
  void EndTransparency() override;
  void SaveState(Memento& memento) const override;
  void RestoreState(const Memento& memento) override;
  void RestoreState(const Memento& memento, EMemoType type) override;
  IIVVertexStream<IVVertexPN>* GetVertexStreamPN() override;
  void DrawBatches(IVVertexBatchesBase& batches, const IVDrawOptions& options) override;

  // For the recording streams.
  void Record(RenderCall call) const { m_calls.push_back(std::move(call)); }
  void Draw(EPrimitive primitive, const IVVertexLayout& layout, const void* vertices, std::size_t count,
            const IVDrawOptions& options) {
    _DrawVertices(primitive, layout, vertices, count, options);
  }

protected:
  void _DrawVertices(EPrimitive primitive, const IVVertexLayout& layout, const void* vertices, std::size_t count,
                     const IVDrawOptions& options) override;

  IIVVertexStream<IVVertexP>& _ImmediateStream(const IVVertexP*, const IVDrawOptions& options) override;
  IIVVertexStream<IVVertexPN>& _ImmediateStream(const IVVertexPN*, const IVDrawOptions& options) override;
  IIVVertexStream<IVVertexPNT>& _ImmediateStream(const IVVertexPNT*, const IVDrawOptions& options) override;
  IIVVertexStream<IVVertexPNC>& _ImmediateStream(const IVVertexPNC*, const IVDrawOptions& options) override;

private:
  struct DrawnBatch {
    EPrimitive primitive;
    IVVertexLayout layout;
    std::vector<unsigned char> bytes;
    std::size_t count;
  };
  struct Streams;

  unsigned EnabledClipMask() const;

  unsigned m_num_clip_planes;
  bool m_start_frame_result = true;
  bool m_record_queries = false;
  // Set while the base class runs, so that the queries it makes itself are not logged.
  mutable bool m_in_base = false;
  mutable std::vector<RenderCall> m_calls;
  std::vector<DrawnBatch> m_drawn;
  std::unique_ptr<Streams> m_streams;
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
