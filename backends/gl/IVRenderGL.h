#pragma once
#include "backends/gl/GLApi.h"
#include "host/render/IVDisplaySurface.h"
#include "host/render/IVRender.h"

#include <memory>

class EglHeadlessContext;
class GLShaderProgram;

// IVRender over OpenGL 3.3 through a headless EGL context. Frames are drawn into an
// offscreen multisampled framebuffer with depth and stencil, resolved at StopFrame and
// read back through the renderer's display surface. Recorded vertices (containers in
// static mode) are kept as GPU buffers; dynamic streams are uploaded per batch.
//
// Implements: frames, both matrices, materials and back faces, 8 user clip planes,
// the blended pass, state snapshots, vertex drawing of every vertex type.
class VISTAL_GL_API IVRenderGL final : public IVRender {
public:
  // Throws std::invalid_argument for a zero or oversized frame, std::runtime_error
  // when no OpenGL context can be made.
  IVRenderGL(unsigned width, unsigned height);
  ~IVRenderGL() override;

  unsigned Width() const { return m_width; }
  unsigned Height() const { return m_height; }
  // The surface to pass to StartFrame and to read finished frames from.
  IVDisplaySurface& GetSurface();

  bool StartFrame(IVDisplaySurface* surface, CDC* dc, bool keepContents) override;
  void StopFrame() override;

  unsigned GetNumClipPlanes() const override { return m_num_clip_planes; }
  // Draft frames skip multisampling: on a software rasteriser they take about half the
  // time of antialiased ones.
  void SetDraftFrames(bool draft) override { m_draft = draft; }

  void BeginTransparency(bool sortedTriangles) override;
  void ApplyTransparency() override;
  void EndTransparency() override;

  void DrawBatches(IVVertexBatchesBase& batches, const IVDrawOptions& options) override;

protected:
  void _DrawVertices(EPrimitive primitive, const IVVertexLayout& layout, const void* vertices, std::size_t count,
                     const IVDrawOptions& options) override;

private:
  class Surface;
  struct Framebuffers;
  struct SavedState;
  struct BufferResource;

  void _UploadState(const IVVertexLayout& layout, const IVDrawOptions& options);
  void _BindLayout(const IVVertexLayout& layout, const void* base);

  unsigned m_width;
  unsigned m_height;
  unsigned m_num_clip_planes = 0;
  bool m_in_frame = false;
  bool m_in_transparency = false;
  std::shared_ptr<EglHeadlessContext> m_context;
  std::unique_ptr<GLShaderProgram> m_program;
  std::unique_ptr<Framebuffers> m_fbo;
  std::unique_ptr<Framebuffers> m_draft_fbo;  // made when the first draft frame is drawn
  Framebuffers* m_frame_fbo = nullptr;        // the one the current or last frame went to
  bool m_draft = false;
  std::unique_ptr<SavedState> m_saved;
  std::unique_ptr<Surface> m_surface;
  unsigned m_stream_vao = 0;
  unsigned m_stream_vbo = 0;
};
