#include "backends/gl/Implementation/GLShaderProgram.h"

#include <stdexcept>

namespace {

const char* kVertexSource = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aTexcoord;
layout(location = 3) in vec4 aColour;
uniform mat4 uWorldToEye;
uniform mat4 uEyeToClip;
uniform mat3 uNormalMatrix;
uniform vec4 uClipPlanes[8];
out vec3 vNormal;
out vec3 vEyePosition;
out vec4 vColour;
out vec2 vTexcoord;
out float gl_ClipDistance[8];
void main() {
  vec4 eye = uWorldToEye * vec4(aPosition, 1.0);
  vEyePosition = eye.xyz;
  vNormal = uNormalMatrix * aNormal;
  vColour = aColour;
  vTexcoord = aTexcoord;
  // Clip planes arrive in eye coordinates.
  for (int i = 0; i < 8; ++i) gl_ClipDistance[i] = dot(uClipPlanes[i], eye);
  gl_Position = uEyeToClip * eye;
}
)";

const char* kFragmentSource = R"(#version 330 core
in vec3 vNormal;
in vec3 vEyePosition;
in vec4 vColour;
in vec2 vTexcoord;
uniform bool uLighting;
uniform bool uHasColour;
uniform bool uBackUsesFront;
uniform vec4 uDiffuse[2];   // front, back
uniform vec4 uSpecular[2];
uniform vec4 uEmission[2];
uniform float uShininess[2];
out vec4 fragColour;
void main() {
  int side = (gl_FrontFacing || uBackUsesFront) ? 0 : 1;
  // Vertex colours replace the front diffuse colour (alpha included).
  vec4 diffuse = (uHasColour && side == 0) ? vColour : uDiffuse[side];
  if (!uLighting) {
    fragColour = diffuse;
    return;
  }
  vec3 n = normalize(vNormal);
  if (!gl_FrontFacing) n = -n;
  // A headlight from above left of the viewer, so that shapes read in depth.
  vec3 l = normalize(vec3(-0.3, 0.4, 1.0));
  vec3 v = normalize(-vEyePosition);
  if (length(vEyePosition) == 0.0) v = vec3(0.0, 0.0, 1.0);
  vec3 h = normalize(l + v);
  float lambert = max(dot(n, l), 0.0);
  float specular = lambert > 0.0 ? pow(max(dot(n, h), 0.0), max(uShininess[side], 1.0)) : 0.0;
  vec3 rgb = uEmission[side].rgb + diffuse.rgb * (0.3 + 0.7 * lambert) + specular * uSpecular[side].rgb;
  fragColour = vec4(min(rgb, vec3(1.0)), diffuse.a);
}
)";

// Throws with the driver's log of the shader or program, deleting it first.
[[noreturn]] void Fail(const char* what, GLuint object, void (*getLog)(GLuint, GLsizei, GLsizei*, GLchar*),
                       void (*destroy)(GLuint)) {
  char log[2048] = {};
  getLog(object, sizeof log, nullptr, log);
  destroy(object);
  throw std::runtime_error(std::string(what) + log);
}

GLuint Compile(GLenum type, const char* source) {
  GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) Fail("OpenGL shader: ", shader, glGetShaderInfoLog, glDeleteShader);
  return shader;
}

}  // namespace

GLShaderProgram::GLShaderProgram() {
  GLuint vs = Compile(GL_VERTEX_SHADER, kVertexSource);
  GLuint fs = 0;
  try {
    fs = Compile(GL_FRAGMENT_SHADER, kFragmentSource);
  } catch (...) {
    glDeleteShader(vs);
    throw;
  }
  m_program = glCreateProgram();
  glAttachShader(m_program, vs);
  glAttachShader(m_program, fs);
  glLinkProgram(m_program);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = 0;
  glGetProgramiv(m_program, GL_LINK_STATUS, &ok);
  if (!ok) Fail("OpenGL program: ", m_program, glGetProgramInfoLog, glDeleteProgram);
  auto at = [this](const char* name) { return glGetUniformLocation(m_program, name); };
  m_uniforms = {at("uWorldToEye"), at("uEyeToClip"), at("uNormalMatrix"), at("uClipPlanes"),
                at("uDiffuse"),    at("uSpecular"),  at("uEmission"),     at("uShininess"),
                at("uLighting"),   at("uHasColour"), at("uBackUsesFront")};
}

GLShaderProgram::~GLShaderProgram() { glDeleteProgram(m_program); }
