#pragma once
#include "host/HostApi.h"

#include <memory>
#include <vector>

class MStlBase;
class MStlTexture;

// The textures of one mesh, in the order they were added. Made by
// MStlBase::GetTextureFactory(true) and owned by the mesh.
class VISTAL_HOST_API MStlTextureFactory {
public:
  explicit MStlTextureFactory(const MStlBase& mesh);
  MStlTextureFactory(const MStlTextureFactory&) = delete;
  MStlTextureFactory& operator=(const MStlTextureFactory&) = delete;
  ~MStlTextureFactory();

  // A new texture with no mapped triangles, last in the order.
  MStlTexture* AddTexture();
  const std::vector<MStlTexture*>& GetTextures() const { return m_textures; }

private:
  const MStlBase* m_mesh;
  std::vector<MStlTexture*> m_textures;  // owned
};
