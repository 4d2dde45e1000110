#include "backends/gl/Implementation/EglHeadlessContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstdio>
#include <stdexcept>

namespace {

[[noreturn]] void Fail(const char* what) {
  char message[128];
  std::snprintf(message, sizeof message, "OpenGL context: %s (EGL error 0x%x)", what, unsigned(eglGetError()));
  throw std::runtime_error(message);
}

EGLDisplay OpenDisplay() {
  auto getPlatformDisplay =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (!getPlatformDisplay) Fail("eglGetPlatformDisplayEXT is missing");
  EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (display == EGL_NO_DISPLAY) Fail("no surfaceless display");
  if (!eglInitialize(display, nullptr, nullptr)) Fail("eglInitialize failed");
  return display;
}

}  // namespace

EglHeadlessContext::EglHeadlessContext() {
  EGLDisplay display = OpenDisplay();
  m_display = display;
  if (!eglBindAPI(EGL_OPENGL_API)) Fail("no desktop OpenGL");
  const EGLint configAttribs[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint count = 0;
  eglChooseConfig(display, configAttribs, &config, 1, &count);
  const EGLint contextAttribs[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 3,
                                   EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
  EGLContext context = eglCreateContext(display, count > 0 ? config : EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, contextAttribs);
  if (context == EGL_NO_CONTEXT) {
    eglTerminate(display);
    Fail("cannot create an OpenGL 3.3 core context");
  }
  m_context = context;
  MakeCurrent();
}

EglHeadlessContext::~EglHeadlessContext() {
  auto display = static_cast<EGLDisplay>(m_display);
  eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  eglDestroyContext(display, static_cast<EGLContext>(m_context));
  // The display is shared by every context of the process; Mesa counts initialisations,
  // so terminating here would cut the ground from under other renderers.
}

void EglHeadlessContext::MakeCurrent() {
  if (IsCurrent()) return;
  if (!eglMakeCurrent(static_cast<EGLDisplay>(m_display), EGL_NO_SURFACE, EGL_NO_SURFACE,
                      static_cast<EGLContext>(m_context)))
    Fail("eglMakeCurrent failed");
}

bool EglHeadlessContext::IsCurrent() const { return eglGetCurrentContext() == static_cast<EGLContext>(m_context); }

std::string EglHeadlessContext::Renderer() const {
  const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  return name ? name : "";
}
