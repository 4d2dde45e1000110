// The checks of a scene, apart from drawing it, so that a program can check what it was
// given (and a fuzzer can reach the checks) without a renderer.
#include "scene/Scene.h"

#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlTraversal.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace {

bool Finite(const MMPoint3d<float>& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

}  // namespace

void ValidateView(const SceneView& v) {
  if (!Finite(v.direction) || v.direction.Length() < kMinDirectionLength)
    throw std::invalid_argument("the view direction must be a finite, non-zero vector");
  if (!Finite(v.up) || v.up.Length() < kMinDirectionLength)
    throw std::invalid_argument("the up vector must be a finite, non-zero vector");
  if (!std::isfinite(v.azimuth)) throw std::invalid_argument("the azimuth must be a finite number of degrees");
  if (!(v.elevation >= -90.0f && v.elevation <= 90.0f))
    throw std::invalid_argument("the elevation must lie between -90 and 90 degrees");
  if (!(v.zoom >= kMinZoom && v.zoom <= kMaxZoom))
    throw std::invalid_argument("the zoom must lie between 0.001 and 1000");
  if (v.width == 0 || v.height == 0 || v.width > kMaxImageSide || v.height > kMaxImageSide)
    throw std::invalid_argument("the image size must be between 1 and " + std::to_string(kMaxImageSide) +
                                " pixels each way");
}

void ValidatePlanes(const std::vector<ScenePlane>& planes) {
  for (std::size_t i = 0; i < planes.size(); ++i) {
    const ScenePlane& p = planes[i];
    const std::string name = "plane " + std::to_string(i + 1);
    if (!Finite(p.origin) || !Finite(p.normal)) throw std::invalid_argument(name + " has a non-finite value");
    if (p.normal.Length() < kMinDirectionLength)
      throw std::invalid_argument(name + " has a zero normal (shorter than 1e-6)");
  }
}

void ValidatePlaneCount(std::size_t numPlanes, unsigned numClipPlanes) {
  if (numPlanes > numClipPlanes)
    throw std::invalid_argument(std::to_string(numPlanes) + " clip planes, but the renderer clips with at most " +
                                std::to_string(numClipPlanes));
}

std::uint32_t CountDrawableTriangles(const MStlBase& mesh) {
  std::uint32_t count = 0;
  ForEachTriangle(mesh, [&](const MStlTriangle& t) {
    if (t.normal[0] != 0.0f || t.normal[1] != 0.0f || t.normal[2] != 0.0f) ++count;
  });
  return count;
}

std::string DescribeUndrawableMesh(const SceneMesh& m) {
  if (!m.mesh || CountDrawableTriangles(*m.mesh) > 0) return {};
  const std::uint32_t all = m.mesh->GetNumTriangles();
  if (all == 0) return "mesh '" + m.name + "' has no triangles";
  return "mesh '" + m.name + "' has only degenerate triangles (" + std::to_string(all) + ", none with an area)";
}

void ValidateScene(const Scene& scene) {
  if (scene.meshes.empty()) throw std::invalid_argument("the scene has no mesh");
  for (const SceneMesh& m : scene.meshes) {
    if (!m.mesh) throw std::invalid_argument("mesh '" + m.name + "' is missing");
    if (!(m.alpha >= 0.0f && m.alpha <= 1.0f))
      throw std::invalid_argument("mesh '" + m.name + "': alpha must lie between 0 and 1");
  }
  std::string undrawable;
  for (const SceneMesh& m : scene.meshes) {
    const std::string why = DescribeUndrawableMesh(m);
    if (why.empty()) {
      undrawable.clear();
      break;
    }
    undrawable += (undrawable.empty() ? "" : "; ") + why;
  }
  if (!undrawable.empty()) throw std::invalid_argument("nothing to draw: " + undrawable);
  ValidatePlanes(scene.planes);
  if (!(scene.displacement >= 0.0f && scene.displacement <= 1000.0f))
    throw std::invalid_argument("the displacement must lie between 0 and 1000 millimetres");
  ValidateView(scene.view);
}
