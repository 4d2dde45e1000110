#pragma once
// An OpenGL 3.3 core context without any window system: EGL on Mesa's surfaceless
// platform. Rendering goes to framebuffer objects only.
#include <memory>
#include <string>

class EglHeadlessContext {
public:
  // Throws std::runtime_error saying what EGL refused.
  EglHeadlessContext();
  ~EglHeadlessContext();
  EglHeadlessContext(const EglHeadlessContext&) = delete;
  EglHeadlessContext& operator=(const EglHeadlessContext&) = delete;

  void MakeCurrent();
  bool IsCurrent() const;
  std::string Renderer() const;

private:
  void* m_display = nullptr;
  void* m_context = nullptr;
};
