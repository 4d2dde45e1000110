#pragma once
// Base of every vertex container: something that can emit its vertices into a stream.
// In static mode (the default) the vertices are recorded once and kept for the renderer
// (a backend may keep them as a GPU buffer) until DestroyRenderOptimisations; in dynamic
// mode every render runs _Optimise anew while drawing, so render-state changes made
// inside _Optimise apply to the batches that follow them.
#include "host/render/IVRender.h"

#include <memory>

template <typename V>
class IVVertexContainer {
protected:
  // Emits the container's vertices, one or more batches.
  virtual void _Optimise(IIVVertexStream<V>& stream) = 0;

public:
  IVVertexContainer() = default;
  // A copy keeps nothing of what the renderer holds for the original; it records anew.
  IVVertexContainer(const IVVertexContainer& o) : m_dynamic(o.m_dynamic) {}
  IVVertexContainer& operator=(const IVVertexContainer& o) {
    if (this != &o) {
      m_dynamic = o.m_dynamic;
      m_recorded.reset();
    }
    return *this;
  }
  virtual ~IVVertexContainer() = default;

  // Drops what is kept for the renderer; the next render records anew.
  virtual void DestroyRenderOptimisations() { m_recorded.reset(); }

  void SetModeDynamic(bool dynamic) {
    m_dynamic = dynamic;
    if (dynamic) m_recorded.reset();
  }
  bool IsModeDynamic() const { return m_dynamic; }

  // Draws everything the container emits (triangles, lines and points alike).
  // `lighting` draws lit by the materials, otherwise in the vertex colours; `textured`
  // uses the renderer's current texture; `flags` is passed through for the host's use.
  void RenderTriangles(IVRender& render, bool lighting, bool textured, unsigned long flags) {
    const IVDrawOptions options{lighting, textured};
    if (m_dynamic) {
      _Optimise(render.ImmediateStream<V>(options));
      return;
    }
    if (!m_recorded) {
      // Kept only once complete: a recording cut short by an exception is dropped, so
      // the next render records (and fails) again instead of drawing a partial one.
      auto recording = std::make_unique<IVVertexBatches<V>>();
      _Optimise(*recording);
      recording->End();
      m_recorded = std::move(recording);
    }
    render.DrawBatches(*m_recorded, options);
  }
  void Render(IVRender& render) { RenderTriangles(render, true, false, 0); }

  // The vertices recorded for static mode, or null (for inspection and tests).
  const IVVertexBatches<V>* GetRecorded() const { return m_recorded.get(); }

private:
  bool m_dynamic = false;
  std::unique_ptr<IVVertexBatches<V>> m_recorded;
};
