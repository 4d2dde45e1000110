#pragma once
// A renderer that does the CPU side of rendering and discards what would reach the
// device: its drawing and its streams only count vertices. Benchmarks use it to measure
// the work of the code that feeds a renderer, without a device.
#include "host/render/IVRender.h"

#include <cstddef>
#include <memory>

class NullRender : public IVRender {
public:
  explicit NullRender(unsigned numClipPlanes = IVRenderState::kMaxClipPlanes);
  ~NullRender() override;

  // Vertices handed to streams or drawn so far; keeps the work observable.
  std::size_t VerticesSeen() const;

  bool StartFrame(IVDisplaySurface* surface, CDC* dc, bool keepContents) override { return true; }
  void StopFrame() override {}
  unsigned GetNumClipPlanes() const override { return m_num_clip_planes; }
  void BeginTransparency(bool sortedTriangles) override {}
  void ApplyTransparency() override {}
  void EndTransparency() override {}
  IIVVertexStream<IVVertexPN>* GetVertexStreamPN() override;

protected:
  void _DrawVertices(EPrimitive primitive, const IVVertexLayout& layout, const void* vertices, std::size_t count,
                     const IVDrawOptions& options) override {
    m_drawn += count;
  }
  IIVVertexStream<IVVertexP>& _ImmediateStream(const IVVertexP*, const IVDrawOptions& options) override;
  IIVVertexStream<IVVertexPN>& _ImmediateStream(const IVVertexPN*, const IVDrawOptions& options) override;
  IIVVertexStream<IVVertexPNT>& _ImmediateStream(const IVVertexPNT*, const IVDrawOptions& options) override;
  IIVVertexStream<IVVertexPNC>& _ImmediateStream(const IVVertexPNC*, const IVDrawOptions& options) override;

private:
  struct Streams;
  unsigned m_num_clip_planes;
  std::size_t m_drawn = 0;
  std::unique_ptr<Streams> m_streams;
};

// A stream that counts what it is given and keeps nothing.
template <typename V>
class NullVertexStream final : public IIVVertexStream<V> {
public:
  void BeginTriangles() override {}
  void BeginLines() override {}
  void BeginPoints() override {}
  void End() override {}
  void AddTriangle(const V&, const V&, const V&) override { m_count += 3; }
  void AddLine(const V&, const V&) override { m_count += 2; }
  void AddPoint(const V&) override { m_count += 1; }
  void AddTriangles(const V*, std::size_t count) override { m_count += 3 * count; }
  std::size_t Count() const { return m_count; }

private:
  std::size_t m_count = 0;
};
