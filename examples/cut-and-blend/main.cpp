// Cuts a mesh open with two planes, puts a transparent ball inside it and writes a PNG.
// Usage: cut-and-blend MESH.stl OUT.png
#include <host/mesh/MStlBase.h>
#include <host/mesh/MStlPrimitives.h>
#include <host/mesh/MStlReader.h>
#include <scene/SceneRenderer.h>

#include <algorithm>
#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s MESH.stl OUT.png\n", argv[0]);
    return 2;
  }
  try {
    Scene scene;
    std::shared_ptr<MStlBase> mesh = ReadStl(argv[1]);
    const M3DBoundingBox<float> box = mesh->GetBoundingBox();
    const MMPoint3d<float> centre{(box.xmin + box.xmax) / 2, (box.ymin + box.ymax) / 2, (box.zmin + box.zmax) / 2};
    const float radius = std::min({box.xmax - box.xmin, box.ymax - box.ymin, box.zmax - box.zmin}) / 4;
    scene.meshes.push_back({argv[1], mesh, 0xFFE0C8B0, 1.0f});  // opaque: clipped and capped
    scene.meshes.push_back({"ball", MStlPrimitives::MakeUvSphere(centre, radius, 48, 24), 0xFF3060E0, 0.5f});
    // Keep what lies below the centre and at smaller y: the kept sides intersect.
    scene.planes.push_back({centre, {0, 0, -1}, false});
    scene.planes.push_back({centre, {0, 1, 0}, true});
    // The planes clip the opaque mesh; the transparent ball is drawn whole, sorted back to front.
    RenderSceneToImage(scene).WritePng(argv[2]);
    std::printf("wrote %s\n", argv[2]);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "cut-and-blend: %s\n", e.what());
    return 1;
  }
}
