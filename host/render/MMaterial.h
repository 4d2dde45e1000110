#pragma once
// The base library's surface material. Colours are words with red in bits 0-7, green
// 8-15, blue 16-23 and alpha (opacity, 255 opaque) 24-31.
#include "host/HostApi.h"
#include "host/win/WinTypes.h"

class VISTAL_HOST_API MMaterial {
public:
  MMaterial() { SetDefaults(); }

  // Opaque light grey, a little specular shine.
  void SetDefaults();

  void SetDiffuse(COLORREF colour) { m_diffuse = colour; }
  COLORREF GetDiffuse() const { return m_diffuse; }
  void SetAmbient(COLORREF colour) { m_ambient = colour; }
  COLORREF GetAmbient() const { return m_ambient; }
  void SetSpecular(COLORREF colour) { m_specular = colour; }
  COLORREF GetSpecular() const { return m_specular; }
  void SetEmission(COLORREF colour) { m_emission = colour; }
  COLORREF GetEmission() const { return m_emission; }
  void SetShininess(float s) { m_shininess = s; }
  float GetShininess() const { return m_shininess; }

  bool operator==(const MMaterial& o) const {
    return m_diffuse == o.m_diffuse && m_ambient == o.m_ambient && m_specular == o.m_specular &&
           m_emission == o.m_emission && m_shininess == o.m_shininess;
  }
  bool operator!=(const MMaterial& o) const { return !(*this == o); }

private:
  COLORREF m_diffuse;
  COLORREF m_ambient;
  COLORREF m_specular;
  COLORREF m_emission;
  float m_shininess;
};
