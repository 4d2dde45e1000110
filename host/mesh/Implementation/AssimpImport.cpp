#include "host/mesh/Implementation/AssimpImport.h"

#include "host/mesh/Implementation/PlyLayout.h"
#include "host/mesh/Implementation/StlReading.h"
#include "host/mesh/MStlBase.h"

#include <assimp/IOStream.hpp>
#include <assimp/IOSystem.hpp>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <cmath>
#include <string>
#include <vector>

namespace stl_detail {
namespace {

// Opens nothing, so that the importer reads only the bytes it is handed.
class NoFiles final : public Assimp::IOSystem {
public:
  bool Exists(const char*) const override { return false; }
  char getOsSeparator() const override { return '/'; }
  Assimp::IOStream* Open(const char*, const char*) override { return nullptr; }
  void Close(Assimp::IOStream* stream) override { delete stream; }
};

// The importer's complaint on one line, without the blanks it sometimes ends with.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text.empty() ? "the importer gave no reason" : text;
}

// Splits a polygon into triangles of its own winding, as corner numbers in threes. Ear
// clipping in the plane the polygon faces most, so concave polygons split right; a
// polygon that is degenerate, crosses itself or has very many corners (where clipping
// would take long) is split into a fan from its first corner.
void SplitPolygon(const std::vector<aiVector3D>& p, std::vector<unsigned>& out) {
  const std::size_t n = p.size();
  auto fan = [&](const std::vector<unsigned>& corners) {
    for (std::size_t i = 1; i + 1 < corners.size(); ++i) out.insert(out.end(), {corners[0], corners[i], corners[i + 1]});
  };
  std::vector<unsigned> left(n);
  for (unsigned i = 0; i < n; ++i) left[i] = i;
  constexpr std::size_t kMaxClipped = 64;  // clipping takes up to n^3 steps; larger polygons are mostly convex
  if (n == 3 || n > kMaxClipped) return fan(left);

  // Newell's normal; the polygon is projected along its largest axis.
  double normal[3] = {0, 0, 0};
  for (std::size_t i = 0; i < n; ++i) {
    const aiVector3D &a = p[i], &b = p[(i + 1) % n];
    normal[0] += (double(a.y) - b.y) * (double(a.z) + b.z);
    normal[1] += (double(a.z) - b.z) * (double(a.x) + b.x);
    normal[2] += (double(a.x) - b.x) * (double(a.y) + b.y);
  }
  const int drop = std::fabs(normal[0]) > std::fabs(normal[1])
                       ? (std::fabs(normal[0]) > std::fabs(normal[2]) ? 0 : 2)
                       : (std::fabs(normal[1]) > std::fabs(normal[2]) ? 1 : 2);
  if (normal[drop] == 0.0) return fan(left);
  const int u = (drop + 1) % 3, v = (drop + 2) % 3;
  const double side = normal[drop] > 0 ? 1.0 : -1.0;  // turns of the polygon's own winding are positive
  auto turn = [&](unsigned a, unsigned b, unsigned c) {
    return side * ((double(p[b][u]) - p[a][u]) * (double(p[c][v]) - p[a][v]) -
                   (double(p[b][v]) - p[a][v]) * (double(p[c][u]) - p[a][u]));
  };

  while (left.size() > 3) {
    bool clipped = false;
    for (std::size_t i = 0; i < left.size() && !clipped; ++i) {
      // From the second corner on, so that a convex polygon splits into its fan.
      const std::size_t m = left.size();
      const unsigned a = left[i % m], b = left[(i + 1) % m], c = left[(i + 2) % m];
      if (turn(a, b, c) <= 0) continue;  // a reflex or flat corner is no ear
      bool empty = true;
      for (unsigned q : left)
        if (q != a && q != b && q != c && turn(a, b, q) >= 0 && turn(b, c, q) >= 0 && turn(c, a, q) >= 0) {
          empty = false;
          break;
        }
      if (!empty) continue;
      out.insert(out.end(), {a, b, c});
      left.erase(left.begin() + std::ptrdiff_t((i + 1) % m));
      clipped = true;
    }
    if (!clipped) return fan(left);  // crosses itself
  }
  fan(left);
}

class Collector {
public:
  Collector(const aiScene& scene, CornerWelder& welder) : m_scene(scene), m_welder(welder) {}

  // Depth first, each node's meshes before its children's: the file's order for the
  // flat trees that OBJ and PLY files give.
  void AddNode(const aiNode& node, const aiMatrix4x4& parent, unsigned depth) {
    if (depth > kMaxDepth) throw StlProblem("the file's groups nest deeper than " + std::to_string(kMaxDepth));
    const aiMatrix4x4 transform = parent * node.mTransformation;
    for (unsigned m = 0; m < node.mNumMeshes; ++m) {
      if (node.mMeshes[m] >= m_scene.mNumMeshes || !m_scene.mMeshes[node.mMeshes[m]])
        throw StlProblem("a group refers to a missing mesh");
      AddMesh(*m_scene.mMeshes[node.mMeshes[m]], transform);
    }
    for (unsigned c = 0; c < node.mNumChildren; ++c)
      if (node.mChildren[c]) AddNode(*node.mChildren[c], transform, depth + 1);
  }

private:
  static constexpr unsigned kMaxDepth = 256;

  void AddMesh(const aiMesh& mesh, const aiMatrix4x4& transform) {
    const bool moved = !transform.IsIdentity();
    if (!mesh.mFaces || !mesh.mVertices) return;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      if (face.mNumIndices < 3 || !face.mIndices) continue;  // points and lines enclose nothing
      m_corners.clear();
      for (unsigned k = 0; k < face.mNumIndices; ++k) {
        const unsigned i = face.mIndices[k];
        if (i >= mesh.mNumVertices)
          throw StlProblem("face " + std::to_string(m_face) + " refers to vertex " + std::to_string(i) +
                           ", but there are " + std::to_string(mesh.mNumVertices));
        m_corners.push_back(moved ? transform * mesh.mVertices[i] : mesh.mVertices[i]);
      }
      ++m_face;
      m_split.clear();
      SplitPolygon(m_corners, m_split);
      for (std::size_t t = 0; t < m_split.size(); t += 3) {
        for (int k = 0; k < 3; ++k) {
          const aiVector3D& v = m_corners[m_split[t + k]];
          m_welder.Add(ToCorner(v.x, v.y, v.z, [&] {
            return "triangle " + std::to_string(m_triangle) + ", corner " + std::to_string(k);
          }));
        }
        ++m_triangle;
      }
    }
  }

  const aiScene& m_scene;
  CornerWelder& m_welder;
  std::uint64_t m_face = 0, m_triangle = 0;
  std::vector<aiVector3D> m_corners;
  std::vector<unsigned> m_split;
};

}  // namespace

// The importer reports through its global logger, which discards everything until a
// program installs one; this library never does, so imports print nothing.
std::unique_ptr<MStlBase> ImportWithAssimp(std::span<const char> bytes, EAssimpFormat format) {
  const bool obj = format == EAssimpFormat::eObj;
  if (!obj) CheckPlyLayout(bytes);
  Assimp::Importer importer;
  importer.SetIOHandler(new NoFiles);  // the importer owns it
  // No post-processing: polygons are split here (the importer's triangulation aborts the
  // program on faces without corners, which PLY files can hold), and the mesh library
  // welds and computes normals itself. What is used of the scene is checked here.
  const aiScene* scene = importer.ReadFileFromMemory(bytes.data(), bytes.size(), 0, obj ? "obj" : "ply");
  const std::string name = obj ? "OBJ" : "PLY";
  if (!scene) throw StlProblem("malformed " + name + ": " + OneLine(importer.GetErrorString()));

  std::size_t corners = 0;
  for (unsigned m = 0; m < scene->mNumMeshes; ++m)
    if (scene->mMeshes[m]) corners += std::size_t(scene->mMeshes[m]->mNumFaces) * 3;
  CornerWelder welder(corners);
  if (scene->mRootNode) Collector(*scene, welder).AddNode(*scene->mRootNode, aiMatrix4x4(), 0);
  importer.FreeScene();
  return BuildWelded(welder);
}

}  // namespace stl_detail
