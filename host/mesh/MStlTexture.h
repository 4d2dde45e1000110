#pragma once
#include "host/HostApi.h"
#include "host/mesh/MStlTextureCoordinates.h"
#include "host/mesh/MValidityField.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

class MStlBase;
class MStlTriangle;

// One texture of a mesh: coordinates for some of its triangles, and the list of those
// triangles in mesh traversal order, rebuilt lazily after the mapping or the mesh changed.
class VISTAL_HOST_API MStlTexture {
public:
  explicit MStlTexture(const MStlBase& mesh);
  // Bound to its mesh's validity chain by address.
  MStlTexture(const MStlTexture&) = delete;
  MStlTexture& operator=(const MStlTexture&) = delete;
  ~MStlTexture();

  const MStlBase& GetMesh() const { return *m_mesh; }

  // Maps a triangle of this texture's mesh; std::invalid_argument for a foreign or null one.
  void SetCoordinates(const MStlTriangle* triangle, const MStlTextureCoordinates& coordinates);
  // Unmaps a triangle; false if it was not mapped.
  bool RemoveCoordinates(const MStlTriangle* triangle);

  // True when the texture maps the triangle; then, if `fill`, the record receives its
  // coordinates. The record is left alone otherwise.
  bool GetCoordinates(const MStlTriangle* triangle, MStlTextureCoordinates& coordinates, bool fill) const;
  std::uint32_t GetNumMappedTriangles() const { return static_cast<std::uint32_t>(m_coordinates.size()); }

  // The ordered triangle list. Bring it up to date with _SpreadInvalidity() and, when
  // IsVectorValid() is then false, _ValidateVector(); GetTriangleList() does both.
  bool IsVectorValid() const { return m_list_validity.IsValid(); }
  const std::vector<const MStlTriangle*>& GetTriangles() const { return m_triangles; }
  const std::vector<const MStlTriangle*>& GetTriangleList() const;

  // Takes in edits of the mesh made since the list was last checked.
  void _SpreadInvalidity() const;
  // Rebuilds the list: the mapped triangles in mesh traversal order.
  void _ValidateVector() const;

private:
  const MStlBase* m_mesh;
  std::unordered_map<const MStlTriangle*, MStlTextureCoordinates> m_coordinates;
  MValidityField m_list_validity;
  mutable std::vector<const MStlTriangle*> m_triangles;
};
