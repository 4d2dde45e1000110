#pragma once
// A renderer that does the CPU side of rendering and discards what would reach the
// device: its drawing and its streams only count vertices. Benchmarks use it to measure
// the work of the code that feeds a renderer, without a device (and without the vertices
// the base class's streams would gather).
#include "host/render/IVRender.h"

#include <algorithm>
#include <cstddef>
#include <tuple>

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

class NullRender : public IVRender {
public:
  explicit NullRender(unsigned numClipPlanes = IVRenderState::kMaxClipPlanes)
      : m_num_clip_planes(std::min(numClipPlanes, IVRenderState::kMaxClipPlanes)) {}

  // Vertices handed to streams or drawn so far; keeps the work observable.
  std::size_t VerticesSeen() const {
    return std::apply([this](const auto&... s) { return (m_drawn + ... + s.Count()); }, m_streams);
  }

  bool StartFrame(IVDisplaySurface*, CDC*, bool) override { return true; }
  void StopFrame() override {}
  unsigned GetNumClipPlanes() const override { return m_num_clip_planes; }
  void BeginTransparency(bool) override {}
  void ApplyTransparency() override {}
  void EndTransparency() override {}
  IIVVertexStream<IVVertexPN>* GetVertexStreamPN() override { return new NullVertexStream<IVVertexPN>(); }

protected:
  void _DrawVertices(EPrimitive, const IVVertexLayout&, const void*, std::size_t count, const IVDrawOptions&) override {
    m_drawn += count;
  }
  IIVVertexStream<IVVertexP>& _ImmediateStream(const IVVertexP*, const IVDrawOptions&) override {
    return _Stream<IVVertexP>();
  }
  IIVVertexStream<IVVertexPN>& _ImmediateStream(const IVVertexPN*, const IVDrawOptions&) override {
    return _Stream<IVVertexPN>();
  }
  IIVVertexStream<IVVertexPNT>& _ImmediateStream(const IVVertexPNT*, const IVDrawOptions&) override {
    return _Stream<IVVertexPNT>();
  }
  IIVVertexStream<IVVertexPNC>& _ImmediateStream(const IVVertexPNC*, const IVDrawOptions&) override {
    return _Stream<IVVertexPNC>();
  }

private:
  template <typename V>
  NullVertexStream<V>& _Stream() {
    return std::get<NullVertexStream<V>>(m_streams);
  }

  unsigned m_num_clip_planes;
  std::size_t m_drawn = 0;
  std::tuple<NullVertexStream<IVVertexP>, NullVertexStream<IVVertexPN>, NullVertexStream<IVVertexPNT>,
             NullVertexStream<IVVertexPNC>>
      m_streams;
};
