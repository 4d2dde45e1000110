// The built-in scene: a head phantom in the manner of the 3D Shepp-Logan phantom, nested
// ellipsoids in a head of about 18 cm (the skull drawn thicker than the phantom's so that
// its cuts read clearly). The skull is one closed mesh of two surfaces (its
// outer face and, wound inwards, its inner face), so a cut through it is a ring.
#include "scene/Scene.h"

#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlBuilder.h"

#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kScale = 90.0f;  // phantom units to millimetres

// Adds a closed ellipsoid surface: poles on the z axis, rotated by `degrees` about z,
// counter-clockwise seen from outside (or from inside when `inward`).
void AddEllipsoid(MStlBuilder& b, MMPoint3d<float> centre, MMPoint3d<float> radii, float degrees, bool inward,
                  unsigned slices = 96, unsigned stacks = 64) {
  const float c = std::cos(degrees * kPi / 180.0f), s = std::sin(degrees * kPi / 180.0f);
  auto point = [&](float x, float y, float z) {
    x *= radii.x;
    y *= radii.y;
    z *= radii.z;
    return MMPoint3d<float>(centre.x + c * x - s * y, centre.y + s * x + c * y, centre.z + z);
  };
  const std::uint32_t north = b.AddPoint(point(0, 0, 1));
  for (unsigned k = 1; k < stacks; ++k) {
    const float theta = kPi * float(k) / float(stacks);
    for (unsigned j = 0; j < slices; ++j) {
      const float phi = 2.0f * kPi * float(j) / float(slices);
      b.AddPoint(point(std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi), std::cos(theta)));
    }
  }
  const std::uint32_t south = b.AddPoint(point(0, 0, -1));
  auto ring = [&](unsigned k, unsigned j) { return north + 1 + (k - 1) * slices + (j % slices); };
  std::vector<std::uint32_t> t;
  auto tri = [&](std::uint32_t a, std::uint32_t b1, std::uint32_t c1) {
    if (inward) std::swap(b1, c1);
    t.insert(t.end(), {a, b1, c1});
  };
  for (unsigned j = 0; j < slices; ++j) {
    tri(north, ring(1, j), ring(1, j + 1));
    for (unsigned k = 1; k + 1 < stacks; ++k) {
      tri(ring(k, j), ring(k + 1, j), ring(k + 1, j + 1));
      tri(ring(k, j), ring(k + 1, j + 1), ring(k, j + 1));
    }
    tri(south, ring(stacks - 1, j + 1), ring(stacks - 1, j));
  }
  b.AddSurface(t);
}

std::shared_ptr<MStlBase> Ellipsoid(float x, float y, float z, float a, float bb, float cc, float degrees) {
  MStlBuilder b;
  AddEllipsoid(b, {x * kScale, y * kScale, z * kScale}, {a * kScale, bb * kScale, cc * kScale}, degrees, false);
  return b.Build();
}

}  // namespace

Scene MakePhantomScene() {
  Scene scene;

  MStlBuilder skull;
  AddEllipsoid(skull, {0, 0, 0}, {0.69f * kScale, 0.92f * kScale, 0.81f * kScale}, 0, false, 128, 96);
  AddEllipsoid(skull, {0, -0.0184f * kScale, 0}, {0.62f * kScale, 0.84f * kScale, 0.73f * kScale}, 0, true, 128, 96);
  scene.meshes.push_back({"skull", skull.Build(), 0xFFB8C8E0, 1.0f});

  // Ventricles, a central mass and two small nodules, each with its own colour.
  scene.meshes.push_back({"right ventricle", Ellipsoid(0.22f, 0.0f, 0.0f, 0.11f, 0.31f, 0.22f, -18.0f), 0x3030E0, 0.55f});
  scene.meshes.push_back({"left ventricle", Ellipsoid(-0.22f, 0.0f, 0.0f, 0.16f, 0.41f, 0.28f, 18.0f), 0xE07020, 0.55f});
  scene.meshes.push_back({"central mass", Ellipsoid(0.0f, 0.35f, -0.15f, 0.21f, 0.25f, 0.41f, 0.0f), 0x40C040, 0.45f});
  scene.meshes.push_back({"upper nodule", Ellipsoid(0.0f, 0.1f, 0.25f, 0.046f, 0.046f, 0.05f, 0.0f), 0x20D0F0, 0.8f});
  scene.meshes.push_back({"lower nodule", Ellipsoid(0.0f, -0.1f, 0.25f, 0.046f, 0.046f, 0.05f, 0.0f), 0xD040D0, 0.8f});

  // Two planes through the centre take away the quarter facing the viewer.
  scene.planes.push_back({{0, 0, 0}, {-1, 0, 0}});
  scene.planes.push_back({{0, 0, 0}, {0, 0, -1}});
  scene.view.direction = {-1.0f, -0.55f, -0.75f};
  scene.showSections = true;
  return scene;
}
