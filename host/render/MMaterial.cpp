#include "host/render/MMaterial.h"

void MMaterial::SetDefaults() {
  m_diffuse = 0xFFC0C0C0;
  m_ambient = 0xFF333333;
  m_specular = 0xFF404040;
  m_emission = 0xFF000000;
  m_shininess = 32.0f;
}
