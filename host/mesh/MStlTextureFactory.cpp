#include "host/mesh/MStlTextureFactory.h"

#include "host/mesh/MStlTexture.h"

MStlTextureFactory::MStlTextureFactory(const MStlBase& mesh) : m_mesh(&mesh) {}

MStlTextureFactory::~MStlTextureFactory() {
  for (MStlTexture* t : m_textures) delete t;
}

MStlTexture* MStlTextureFactory::AddTexture() {
  auto texture = std::make_unique<MStlTexture>(*m_mesh);
  m_textures.push_back(texture.get());
  return texture.release();
}
