#pragma once
// The one shader program of the backend: transform, user clip distances, a headlight
// with front and back materials, vertex colours and flat colour for unlit geometry.
#include "backends/gl/Implementation/GL.h"

#include <string>

class GLShaderProgram {
public:
  GLShaderProgram();  // throws std::runtime_error with the compiler's log
  ~GLShaderProgram();
  GLShaderProgram(const GLShaderProgram&) = delete;
  GLShaderProgram& operator=(const GLShaderProgram&) = delete;

  GLuint Id() const { return m_program; }

  // Uniform locations, looked up once when the program is linked.
  struct Uniforms {
    GLint worldToEye, eyeToClip, normalMatrix, clipPlanes;
    GLint diffuse, specular, emission, shininess;
    GLint lighting, hasColour, backUsesFront;
  };
  const Uniforms& Locations() const { return m_uniforms; }

  // Attribute locations.
  static constexpr GLuint kPosition = 0, kNormal = 1, kTexcoord = 2, kColour = 3;

private:
  GLuint m_program = 0;
  Uniforms m_uniforms{};
};
