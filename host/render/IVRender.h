#pragma once
#include "host/HostApi.h"
#include "host/render/IIVVertexStream.h"
#include "host/render/IVRenderState.h"
#include "host/render/IVVertexBatches.h"

#include <memory>

class CDC;
class IVDisplaySurface;
template <typename V>
class IVImmediateStream;

// How vertices are drawn: lit by the materials or flat in their colours, textured or not.
struct IVDrawOptions {
  bool lighting = true;
  bool textured = false;
};

// The renderer of one view. The state that snapshots capture (matrices, materials,
// back faces, user clip planes) is kept here in an IVRenderState; backends override the
// operations, call the base to keep the state, and apply it to their device. Drawing
// comes down to one backend operation, _DrawVertices, fed by vertex streams.
class VISTAL_HOST_API IVRender {
public:
  // Which parts of the state a snapshot compares or restores; bits that combine.
  enum EMemoType : unsigned {
    eMemoTransform = 1,  // the two matrices
    eMemoClipping = 2,   // the user clip planes
    eMemoFaces = 4,      // back-face visibility and the back material
    eMemoMaterial = 8,   // the front material
    // Transparent triangles carry their front colour in their vertices, so two meshes
    // can share one batch when everything but the front material agrees.
    eMemoTransparencyBatch = eMemoTransform | eMemoClipping | eMemoFaces,  // 7
    eMemoAll = 15,
  };

  // A snapshot of the whole state.
  class VISTAL_HOST_API Memento {
  public:
    Memento() = default;
    Memento(const Memento&) = default;
    Memento& operator=(const Memento&) = default;
    ~Memento() = default;

    bool operator==(const Memento& o) const { return m_state == o.m_state; }
    bool operator!=(const Memento& o) const { return !(*this == o); }
    // Equal in the parts that the type selects.
    bool IsEqual(const Memento& o, EMemoType type) const;

    const IVRenderState& GetState() const { return m_state; }
    const MMaterial& GetMaterial() const { return m_state.material; }

  private:
    friend class IVRender;
    IVRenderState m_state;
  };

  IVRender();
  IVRender(const IVRender&) = delete;
  IVRender& operator=(const IVRender&) = delete;
  virtual ~IVRender();

  // Frames. StartFrame answers whether a frame was opened on the surface.
  virtual bool StartFrame(IVDisplaySurface* surface, CDC* dc, bool keepContents) = 0;
  virtual void StopFrame() = 0;
  // Frames from the next StartFrame on are drafts: quicker at a lower quality (no
  // antialiasing, say), for views that redraw while the user drags. Renderers without a
  // draft mode ignore it.
  virtual void SetDraftFrames(bool draft) {}

  // Row-major matrices, points as columns.
  virtual void LoadWorldToEyeMatrix(const float matrix[16]);
  virtual void LoadEyeToWindowMatrix(const float matrix[16]);

  virtual void SetBackfaceVisible(bool visible, bool backUsesFront);
  virtual void SetMaterialBack(const MMaterial& material);
  virtual void SetMaterial(const MMaterial& material);
  const MMaterial& GetMaterial() const { return m_state.material; }
  const IVRenderState& GetState() const { return m_state; }

  // User clip planes: geometry with a*x + b*y + c*z + d < 0 is cut away in every enabled
  // slot. The equation is in the coordinates the world-to-eye matrix maps when it is set.
  virtual unsigned GetNumClipPlanes() const = 0;
  virtual void SetClipPlane(unsigned slot, float a, float b, float c, float d);
  virtual void EnableClipPlane(unsigned slot, bool on);

  // The blended pass: Begin opens it, Apply (re)establishes blending after a state
  // restore inside the pass, End closes it.
  virtual void BeginTransparency(bool sortedTriangles) = 0;
  virtual void ApplyTransparency() = 0;
  virtual void EndTransparency() = 0;

  virtual void SaveState(Memento& memento) const;
  virtual void RestoreState(const Memento& memento);
  virtual void RestoreState(const Memento& memento, EMemoType type);

  // A new stream of IVVertexPN, owned by the caller, that draws each batch as it ends.
  virtual IIVVertexStream<IVVertexPN>* GetVertexStreamPN();

  // The stream through which vertices reach the device now: each batch is drawn at End.
  template <typename V>
  IIVVertexStream<V>& ImmediateStream(const IVDrawOptions& options) {
    return _ImmediateStream(static_cast<const V*>(nullptr), options);
  }
  // Draws vertices recorded earlier.
  virtual void DrawBatches(IVVertexBatchesBase& batches, const IVDrawOptions& options);

protected:
  // The one drawing operation of a backend: count vertices of the given layout, as the
  // given primitive, with the current state.
  virtual void _DrawVertices(EPrimitive primitive, const IVVertexLayout& layout, const void* vertices,
                             std::size_t count, const IVDrawOptions& options) = 0;
  // Called after a restore changed the parts of the state that `type` selects.
  virtual void _StateRestored(EMemoType type) {}

  virtual IIVVertexStream<IVVertexP>& _ImmediateStream(const IVVertexP*, const IVDrawOptions& options);
  virtual IIVVertexStream<IVVertexPN>& _ImmediateStream(const IVVertexPN*, const IVDrawOptions& options);
  virtual IIVVertexStream<IVVertexPNT>& _ImmediateStream(const IVVertexPNT*, const IVDrawOptions& options);
  virtual IIVVertexStream<IVVertexPNC>& _ImmediateStream(const IVVertexPNC*, const IVDrawOptions& options);

  IVRenderState m_state;

private:
  template <typename V>
  friend class IVImmediateStream;
  struct Streams;
  std::unique_ptr<Streams> m_streams;
};
