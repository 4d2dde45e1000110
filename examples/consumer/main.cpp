// Uses the installed library through its umbrella header only: a mesh object clipped by a
// plane, with its cut face, and a transparent mesh drawn through the transparency cache,
// all with a renderer of this program's own that counts what reaches it.
#include <vistal/vistal.h>

#include <cstdio>
#include <memory>

namespace {

// The package brings no backend: this renderer draws nothing and counts triangles, those
// drawn with a clip plane on apart.
class CountingRender final : public IVRender {
public:
  unsigned triangles = 0, clippedTriangles = 0, transparentTriangles = 0;

  bool StartFrame(IVDisplaySurface*, CDC*, bool) override { return true; }
  void StopFrame() override {}
  unsigned GetNumClipPlanes() const override { return IVRenderState::kMaxClipPlanes; }
  void BeginTransparency(bool) override { m_transparent = true; }
  void ApplyTransparency() override {}
  void EndTransparency() override { m_transparent = false; }

protected:
  void _DrawVertices(EPrimitive primitive, const IVVertexLayout&, const void*, std::size_t count,
                     const IVDrawOptions&) override {
    if (primitive != EPrimitive::Triangles) return;
    const unsigned n = unsigned(count / 3);
    bool clipped = false;
    for (const IVClipPlane& p : GetState().clipPlanes) clipped = clipped || p.enabled;
    (m_transparent ? transparentTriangles : clipped ? clippedTriangles : triangles) += n;
  }

private:
  bool m_transparent = false;
};

// A mesh object that takes part in clipping, as a host's own would.
class ClippedMesh : public UIStlObject, public ISimpleClippableObjectImp {
public:
  explicit ClippedMesh(std::shared_ptr<MStlBase> mesh) : UIStlObject(std::move(mesh)), ISimpleClippableObjectImp(this) {}

  bool DoOperation(MOperation& operation) override { return DoOperationClipping(operation); }
  void Render(IVRender& render, const MCoordinateSystem& system) override {
    _RenderStartClipping(render, system);
    UIStlObject::Render(render, system);
    _RenderStopClipping(render, system);
    _RenderTextures(render, system);
  }

protected:
  // This program asks for no sections of its own.
  void _GetStlToSlice(MStlBase*&, const MMPlaneEq<double>&) override {}
};

}  // namespace

int main() {
  const ZelLibraryVersion& v = Vistal_XX_xx_00_00::__g_version;
  std::printf("%ls %ls.%ls\n", v.module, v.major, v.minor);

  // A 10 mm box cut in half at z = 5 mm, its upper half kept: all 12 triangles are drawn
  // with the plane on, then the square cut face with no plane on.
  ClippedMesh box(MStlPrimitives::MakeBox({0, 0, 0}, {10, 10, 10}));
  MClippingPlane plane;
  plane.SetClippingPlane(MFrame<float>({-5, -5, 5}, {20, 0, 0}, {0, 20, 0}, {0, 0, 1}));
  UIOperationClipping add;
  add.SetAction(eClippingAddPlanes);
  add.AddClippingPlane(&plane);
  box.DoOperation(add);
  MClippingData::mp_surface_creator = &UISurfaceSection::Create;

  // A sphere drawn transparent, its triangles sorted back to front by the cache.
  const std::unique_ptr<MStlBase> sphere = MStlPrimitives::MakeUvSphere({5, 5, 5}, 4, 12, 6);
  CountingRender render;
  IVTransparencyCache cache(&render);
  render.StartFrame(nullptr, nullptr, false);
  box.Render(render, box.GetCoordinateSystem());
  float eye[3] = {5.0f * float(IE), 5.0f * float(IE), -50.0f * float(IE)};
  float direction[3] = {0, 0, 1};
  cache.AddSTL(sphere.get(), eye, direction);
  cache.RenderStlTransparentPN(&render);
  render.StopFrame();

  std::printf("clipped by %s: %u triangles, cut face: %u, transparent: %u of %u\n",
              box.GetClippingData()->IsClipped(&plane) ? "a plane" : "nothing", render.clippedTriangles,
              render.triangles, render.transparentTriangles, sphere->GetNumTriangles());
  const bool ok = render.clippedTriangles == 12 && render.triangles > 0 &&
                  render.transparentTriangles == sphere->GetNumTriangles();
  if (!ok) std::fprintf(stderr, "vistal-consumer: the package drew something else than expected\n");
  return ok ? 0 : 1;
}
