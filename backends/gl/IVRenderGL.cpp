#include "backends/gl/IVRenderGL.h"

#include "backends/gl/Implementation/EglHeadlessContext.h"
#include "backends/gl/Implementation/GL.h"
#include "backends/gl/Implementation/GLShaderProgram.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

namespace {

// Samples per pixel of finished frames; draft frames take one.
constexpr GLsizei kSamples = 4;

std::array<float, 4> ColourOf(COLORREF c) {
  return {float(c & 0xFF) / 255.0f, float((c >> 8) & 0xFF) / 255.0f, float((c >> 16) & 0xFF) / 255.0f,
          float((c >> 24) & 0xFF) / 255.0f};
}

// Inverse transpose of the upper 3x3 block of a row-major 4x4 matrix, row-major; the
// block itself when it is singular.
std::array<float, 9> NormalMatrix(const std::array<float, 16>& m) {
  const double a = m[0], b = m[1], c = m[2], d = m[4], e = m[5], f = m[6], g = m[8], h = m[9], i = m[10];
  const double det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
  if (det == 0.0 || !std::isfinite(det)) return {float(a), float(b), float(c), float(d), float(e), float(f), float(g), float(h), float(i)};
  // cofactor matrix / det = inverse transpose
  const double k = 1.0 / det;
  return {float((e * i - f * h) * k), float(-(d * i - f * g) * k), float((d * h - e * g) * k),
          float(-(b * i - c * h) * k), float((a * i - c * g) * k), float(-(a * h - b * g) * k),
          float((b * f - c * e) * k), float(-(a * f - c * d) * k), float((a * e - b * d) * k)};
}

GLenum ModeOf(EPrimitive p) {
  switch (p) {
    case EPrimitive::Lines: return GL_LINES;
    case EPrimitive::Points: return GL_POINTS;
    default: return GL_TRIANGLES;
  }
}

// One process-wide context serves every renderer, so GPU buffers can outlive the
// renderer that made them and be freed by whoever drops them.
std::shared_ptr<EglHeadlessContext> SharedContext() {
  static std::weak_ptr<EglHeadlessContext> shared;
  auto context = shared.lock();
  if (!context) {
    context = std::make_shared<EglHeadlessContext>();
    shared = context;
  }
  context->MakeCurrent();
  return context;
}

}  // namespace

struct IVRenderGL::Framebuffers {
  GLuint msFbo = 0, msColour = 0, msDepth = 0;
  GLuint resolveFbo = 0, resolveColour = 0;

  Framebuffers(unsigned w, unsigned h, GLsizei samples) {
    glGenFramebuffers(1, &msFbo);
    glGenRenderbuffers(1, &msColour);
    glGenRenderbuffers(1, &msDepth);
    glBindRenderbuffer(GL_RENDERBUFFER, msColour);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGBA8, w, h);
    glBindRenderbuffer(GL_RENDERBUFFER, msDepth);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH24_STENCIL8, w, h);
    glBindFramebuffer(GL_FRAMEBUFFER, msFbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, msColour);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, msDepth);
    const bool msOk = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;

    glGenFramebuffers(1, &resolveFbo);
    glGenRenderbuffers(1, &resolveColour);
    glBindRenderbuffer(GL_RENDERBUFFER, resolveColour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
    glBindFramebuffer(GL_FRAMEBUFFER, resolveFbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, resolveColour);
    const bool resolveOk = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (!msOk || !resolveOk) {
      Release();
      throw std::runtime_error("OpenGL: cannot make a " + std::to_string(w) + "x" + std::to_string(h) +
                               " offscreen framebuffer");
    }
  }
  ~Framebuffers() { Release(); }
  void Release() {
    glDeleteFramebuffers(1, &msFbo);
    glDeleteFramebuffers(1, &resolveFbo);
    glDeleteRenderbuffers(1, &msColour);
    glDeleteRenderbuffers(1, &msDepth);
    glDeleteRenderbuffers(1, &resolveColour);
    msFbo = resolveFbo = msColour = msDepth = resolveColour = 0;
  }
};

// The bindings and state of whoever shares the context: everything a frame changes is
// saved at StartFrame and put back at StopFrame.
struct IVRenderGL::SavedState {
  GLint framebuffer = 0, readFramebuffer = 0, program = 0, vao = 0, arrayBuffer = 0;
  GLint viewport[4] = {};
  GLfloat clearColour[4] = {};
  GLboolean blend = GL_FALSE, depthTest = GL_FALSE, cull = GL_FALSE, multisample = GL_FALSE, depthMask = GL_TRUE;
  GLint depthFunc = GL_LESS, cullFace = GL_BACK, frontFace = GL_CCW;
  GLint blendSrcRgb = GL_ONE, blendDstRgb = GL_ZERO, blendSrcAlpha = GL_ONE, blendDstAlpha = GL_ZERO;
  GLboolean clip[8] = {};

  void Save() {
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &framebuffer);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vao);
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &arrayBuffer);
    glGetIntegerv(GL_VIEWPORT, viewport);
    blend = glIsEnabled(GL_BLEND);
    depthTest = glIsEnabled(GL_DEPTH_TEST);
    cull = glIsEnabled(GL_CULL_FACE);
    multisample = glIsEnabled(GL_MULTISAMPLE);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    glGetIntegerv(GL_CULL_FACE_MODE, &cullFace);
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    glGetIntegerv(GL_BLEND_SRC_RGB, &blendSrcRgb);
    glGetIntegerv(GL_BLEND_DST_RGB, &blendDstRgb);
    glGetIntegerv(GL_BLEND_SRC_ALPHA, &blendSrcAlpha);
    glGetIntegerv(GL_BLEND_DST_ALPHA, &blendDstAlpha);
    for (int i = 0; i < 8; ++i) clip[i] = glIsEnabled(GL_CLIP_DISTANCE0 + i);
  }
  static void Set(GLenum cap, GLboolean on) { on ? glEnable(cap) : glDisable(cap); }
  void Restore() const {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, readFramebuffer);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    glUseProgram(program);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, arrayBuffer);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    Set(GL_BLEND, blend);
    Set(GL_DEPTH_TEST, depthTest);
    Set(GL_CULL_FACE, cull);
    Set(GL_MULTISAMPLE, multisample);
    glDepthMask(depthMask);
    glDepthFunc(GLenum(depthFunc));
    glCullFace(GLenum(cullFace));
    glFrontFace(GLenum(frontFace));
    glBlendFuncSeparate(GLenum(blendSrcRgb), GLenum(blendDstRgb), GLenum(blendSrcAlpha), GLenum(blendDstAlpha));
    for (int i = 0; i < 8; ++i) Set(GL_CLIP_DISTANCE0 + i, clip[i]);
  }
};

// GPU copy of recorded vertices; freed with them.
struct IVRenderGL::BufferResource final : IVRenderResource {
  std::shared_ptr<EglHeadlessContext> context;
  GLuint vao = 0, vbo = 0;
  ~BufferResource() override {
    context->MakeCurrent();
    glDeleteVertexArrays(1, &vao);
    glDeleteBuffers(1, &vbo);
  }
};

class IVRenderGL::Surface final : public IVDisplaySurface {
public:
  explicit Surface(IVRenderGL& render) : m_render(render) {}

  void SetBackground(COLORREF colour, bool clearColour, bool clearDepth) override {
    if (!m_render.m_in_frame) return;
    const auto c = ColourOf(colour);
    glClearColor(c[0], c[1], c[2], 1.0f);
    glDepthMask(GL_TRUE);
    glClear((clearColour ? GL_COLOR_BUFFER_BIT : 0) | (clearDepth ? GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT : 0));
  }

  bool ReadFrame(MImageRGBA& image) override {
    if (!m_has_frame) return false;
    m_render.m_context->MakeCurrent();
    image = MImageRGBA(m_render.m_width, m_render.m_height);
    GLint previous = 0, alignment = 4;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previous);
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_render.m_frame_fbo->resolveFbo);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, m_render.m_width, m_render.m_height, GL_RGBA, GL_UNSIGNED_BYTE, image.Data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, previous);
    // OpenGL's rows run bottom up; images run top down.
    const std::size_t row = std::size_t(m_render.m_width) * 4;
    for (unsigned y = 0; y < m_render.m_height / 2; ++y)
      std::swap_ranges(image.Pixel(0, y), image.Pixel(0, y) + row, image.Pixel(0, m_render.m_height - 1 - y));
    return true;
  }

  bool m_has_frame = false;

private:
  IVRenderGL& m_render;
};

IVRenderGL::IVRenderGL(unsigned width, unsigned height) : m_width(width), m_height(height) {
  if (width == 0 || height == 0 || width > 16384 || height > 16384)
    throw std::invalid_argument("image size " + std::to_string(width) + "x" + std::to_string(height) +
                                " is out of range (1 to 16384 pixels each way)");
  m_context = SharedContext();
  GLint maxClip = 0;
  glGetIntegerv(GL_MAX_CLIP_DISTANCES, &maxClip);
  m_num_clip_planes = std::min<unsigned>(unsigned(std::max(maxClip, 0)), IVRenderState::kMaxClipPlanes);
  m_program = std::make_unique<GLShaderProgram>();
  m_fbo = std::make_unique<Framebuffers>(width, height, kSamples);
  m_frame_fbo = m_fbo.get();
  m_saved = std::make_unique<SavedState>();
  m_surface = std::make_unique<Surface>(*this);
  glGenVertexArrays(1, &m_stream_vao);
  glGenBuffers(1, &m_stream_vbo);
}

IVRenderGL::~IVRenderGL() {
  m_context->MakeCurrent();
  glDeleteVertexArrays(1, &m_stream_vao);
  glDeleteBuffers(1, &m_stream_vbo);
  m_fbo.reset();
  m_draft_fbo.reset();
  m_program.reset();
}

IVDisplaySurface& IVRenderGL::GetSurface() { return *m_surface; }

bool IVRenderGL::StartFrame(IVDisplaySurface* surface, CDC*, bool) {
  if (m_in_frame || surface != m_surface.get()) return false;
  m_context->MakeCurrent();
  m_saved->Save();
  if (m_draft && !m_draft_fbo) m_draft_fbo = std::make_unique<Framebuffers>(m_width, m_height, 0);
  m_frame_fbo = m_draft ? m_draft_fbo.get() : m_fbo.get();
  glBindFramebuffer(GL_FRAMEBUFFER, m_frame_fbo->msFbo);
  glViewport(0, 0, GLsizei(m_width), GLsizei(m_height));
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
  glEnable(GL_MULTISAMPLE);
  glUseProgram(m_program->Id());
  m_in_frame = true;
  m_in_transparency = false;
  return true;
}

void IVRenderGL::StopFrame() {
  if (!m_in_frame) return;
  if (m_in_transparency) EndTransparency();
  glBindFramebuffer(GL_READ_FRAMEBUFFER, m_frame_fbo->msFbo);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, m_frame_fbo->resolveFbo);
  glBlitFramebuffer(0, 0, m_width, m_height, 0, 0, m_width, m_height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  glFinish();
  m_saved->Restore();
  m_in_frame = false;
  m_surface->m_has_frame = true;
}

// Transparent triangles blend over what is drawn and test against its depth without
// writing depth, so that the sorted order alone decides how they mix.
void IVRenderGL::BeginTransparency(bool) {
  m_in_transparency = true;
  ApplyTransparency();
}

void IVRenderGL::ApplyTransparency() {
  if (!m_in_frame) return;
  glEnable(GL_BLEND);
  glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  glDepthMask(GL_FALSE);
}

void IVRenderGL::EndTransparency() {
  m_in_transparency = false;
  if (!m_in_frame) return;
  glDisable(GL_BLEND);
  glDepthMask(GL_TRUE);
}

void IVRenderGL::_UploadState(const IVVertexLayout& layout, const IVDrawOptions& options) {
  const GLShaderProgram::Uniforms& u = m_program->Locations();
  glUniformMatrix4fv(u.worldToEye, 1, GL_TRUE, m_state.worldToEye.data());
  glUniformMatrix4fv(u.eyeToClip, 1, GL_TRUE, m_state.eyeToWindow.data());
  glUniformMatrix3fv(u.normalMatrix, 1, GL_TRUE, NormalMatrix(m_state.worldToEye).data());

  float planes[4 * 8] = {};
  for (unsigned i = 0; i < 8; ++i) {
    const IVClipPlane& c = m_state.clipPlanes[i];
    const bool on = i < m_num_clip_planes && c.enabled;
    on ? glEnable(GL_CLIP_DISTANCE0 + i) : glDisable(GL_CLIP_DISTANCE0 + i);
    // A disabled slot also gets an equation that keeps everything: some drivers clip by
    // the distances the shader writes whether or not the slot is enabled.
    if (on)
      std::copy(c.eye.begin(), c.eye.end(), planes + 4 * i);
    else
      planes[4 * i + 3] = 1.0f;
  }
  glUniform4fv(u.clipPlanes, 8, planes);

  if (m_state.backfaceVisible) {
    glDisable(GL_CULL_FACE);
  } else {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
  }
  glFrontFace(GL_CCW);

  const MMaterial* sides[2] = {&m_state.material, &m_state.backMaterial};
  float diffuse[8], specular[8], emission[8], shininess[2];
  for (int s = 0; s < 2; ++s) {
    const auto d = ColourOf(sides[s]->GetDiffuse()), sp = ColourOf(sides[s]->GetSpecular()),
               e = ColourOf(sides[s]->GetEmission());
    std::copy(d.begin(), d.end(), diffuse + 4 * s);
    std::copy(sp.begin(), sp.end(), specular + 4 * s);
    std::copy(e.begin(), e.end(), emission + 4 * s);
    shininess[s] = sides[s]->GetShininess();
  }
  // Outside the blended pass everything is opaque, whatever alpha the material carries.
  if (!m_in_transparency) diffuse[3] = diffuse[7] = 1.0f;
  glUniform4fv(u.diffuse, 2, diffuse);
  glUniform4fv(u.specular, 2, specular);
  glUniform4fv(u.emission, 2, emission);
  glUniform1fv(u.shininess, 2, shininess);
  glUniform1i(u.lighting, options.lighting && layout.normal >= 0);
  glUniform1i(u.hasColour, layout.colour >= 0);
  glUniform1i(u.backUsesFront, m_state.backUsesFront);
}

void IVRenderGL::_BindLayout(const IVVertexLayout& layout, const void* base) {
  const auto* b = static_cast<const char*>(base);
  glEnableVertexAttribArray(GLShaderProgram::kPosition);
  glVertexAttribPointer(GLShaderProgram::kPosition, 3, GL_FLOAT, GL_FALSE, layout.stride, b);
  auto attribute = [&](GLuint index, int offset, GLint size, GLenum type, GLboolean normalised) {
    if (offset < 0) {
      glDisableVertexAttribArray(index);
      return;
    }
    glEnableVertexAttribArray(index);
    glVertexAttribPointer(index, size, type, normalised, layout.stride, b + offset);
  };
  attribute(GLShaderProgram::kNormal, layout.normal, 3, GL_FLOAT, GL_FALSE);
  attribute(GLShaderProgram::kTexcoord, layout.texcoord, 2, GL_FLOAT, GL_FALSE);
  attribute(GLShaderProgram::kColour, layout.colour, 4, GL_UNSIGNED_BYTE, GL_TRUE);
  if (layout.normal < 0) glVertexAttrib3f(GLShaderProgram::kNormal, 0.0f, 0.0f, 1.0f);
}

void IVRenderGL::_DrawVertices(EPrimitive primitive, const IVVertexLayout& layout, const void* vertices,
                               std::size_t count, const IVDrawOptions& options) {
  if (!m_in_frame || count == 0) return;
  _UploadState(layout, options);
  glBindVertexArray(m_stream_vao);
  glBindBuffer(GL_ARRAY_BUFFER, m_stream_vbo);
  // Orphan the previous contents so the driver need not wait for draws still using them.
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(count * layout.stride), vertices, GL_STREAM_DRAW);
  _BindLayout(layout, nullptr);
  glDrawArrays(ModeOf(primitive), 0, GLsizei(count));
}

void IVRenderGL::DrawBatches(IVVertexBatchesBase& batches, const IVDrawOptions& options) {
  if (!m_in_frame || batches.NumVertices() == 0) return;
  auto* resource = dynamic_cast<BufferResource*>(batches.GetResource());
  if (!resource) {
    auto made = std::make_unique<BufferResource>();
    made->context = m_context;
    glGenVertexArrays(1, &made->vao);
    glGenBuffers(1, &made->vbo);
    glBindVertexArray(made->vao);
    glBindBuffer(GL_ARRAY_BUFFER, made->vbo);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(batches.NumVertices() * batches.Layout().stride), batches.Data(),
                 GL_STATIC_DRAW);
    _BindLayout(batches.Layout(), nullptr);
    resource = made.get();
    batches.SetResource(std::move(made));
  }
  _UploadState(batches.Layout(), options);
  glBindVertexArray(resource->vao);
  for (const auto& b : batches.Batches()) glDrawArrays(ModeOf(b.primitive), GLint(b.first), GLsizei(b.count));
}
