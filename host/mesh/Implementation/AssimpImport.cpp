#include "host/mesh/Implementation/AssimpImport.h"

#include "host/mesh/Implementation/PlyLayout.h"
#include "host/mesh/Implementation/StlReading.h"
#include "host/mesh/MStlBase.h"

#include <assimp/IOStream.hpp>
#include <assimp/IOSystem.hpp>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <string>

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
      if (face.mNumIndices != 3) continue;  // points and lines enclose nothing
      for (int k = 0; k < 3; ++k) {
        const unsigned i = face.mIndices[k];
        if (i >= mesh.mNumVertices)
          throw StlProblem("triangle " + std::to_string(m_triangle) + " refers to vertex " + std::to_string(i) +
                           ", but there are " + std::to_string(mesh.mNumVertices));
        aiVector3D v = mesh.mVertices[i];
        if (moved) v = transform * v;
        m_welder.Add(ToCorner(v.x, v.y, v.z, [&] {
          return "triangle " + std::to_string(m_triangle) + ", corner " + std::to_string(k);
        }));
      }
      ++m_triangle;
    }
  }

  const aiScene& m_scene;
  CornerWelder& m_welder;
  std::uint64_t m_triangle = 0;
};

}  // namespace

std::unique_ptr<MStlBase> ImportWithAssimp(std::span<const char> bytes, EAssimpFormat format) {
  const bool obj = format == EAssimpFormat::eObj;
  if (!obj) CheckPlyLayout(bytes);
  Assimp::Importer importer;
  importer.SetIOHandler(new NoFiles);  // the importer owns it
  // Polygons become triangle fans; nothing else is done to the geometry (no welding,
  // no normals): the mesh library welds and computes normals itself. What is used of
  // the scene is checked here, so the importer's validation (which refuses a file of
  // points alone) is not asked for.
  const aiScene* scene =
      importer.ReadFileFromMemory(bytes.data(), bytes.size(), aiProcess_Triangulate, obj ? "obj" : "ply");
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
