// IVRenderEx as an object: the slice list, flat triangle lists and projections into a view.
#include "vistal/render/IVRenderEx.h"

#include "host/framework/MTransformRepository.h"
#include "host/framework/UISlice.h"
#include "host/view/UIWnd3D.h"
#include "host/render/IVRender.h"
#include "vistal/render/Implementation/PixelRounding.h"

#include <memory>

namespace {

// Slices are added a score at a time: views attach a handful, and a series of slices
// seldom more than a few dozen.
constexpr std::uint32_t kSliceGrowth = 20;

template <typename Store>
bool Project(const MMPoint3d<double>* in, UIObject* object, UIWnd3D* window, unsigned n, Store store) {
  if (!object || !window) return false;
  const MCoordinateSystem windowSystem = window->GetCoordinateSystemWindow();
  const MMTransform& toWindow =
      MTransformRepository::mgp_instance->GetTransform(object->GetCoordinateSystem(), windowSystem);
  for (unsigned i = 0; i < n; ++i) {
    MMPoint3d<double> p;
    if (!toWindow.TransformPoint(p, in[i], false)) return false;
    store(i, p);
  }
  return true;
}

}  // namespace

IVRenderEx::IVRenderEx(IVRender* r) : render(r) {}

IVRenderEx::IVRenderEx(const IVRenderEx& other) : render(other.render), slices(other.slices) {}

IVRenderEx& IVRenderEx::operator=(const IVRenderEx& other) {
  if (this != &other) {
    render = other.render;
    slices = other.slices;
  }
  return *this;
}

IVRenderEx::~IVRenderEx() = default;

void IVRenderEx::AddSlice(UISlice& slice) {
  for (std::uint32_t i = 0; i < slices.GetCount(); ++i)
    if (slices[i] == &slice) return;
  slice.SetVisible(true, 0xFFFFFFFF);
  if (slices.GetCount() == slices.GetCapacity() && !slices.Reallocate(slices.GetCapacity() + kSliceGrowth)) return;
  slices.Append(&slice);
}

void IVRenderEx::RemoveSlice(UISlice& slice) {
  for (std::uint32_t i = 0; i < slices.GetCount(); ++i) {
    if (slices[i] != &slice) continue;
    slice.SetVisible(false, 0xFFFFFFFF);
    slices.RemoveAt(i);
    return;
  }
}

unsigned int IVRenderEx::GetNumSlices() { return slices.GetCount(); }

UISlice& IVRenderEx::GetSlice(unsigned int i) { return *slices[i]; }

void IVRenderEx::Draw3dBorder(M3dBorder<float, float>&) {}

void IVRenderEx::RenderTriangles(std::deque<IVVertexPN>& vertices, bool backfaceVisible, bool) {
  if (!render) return;
  render->SetBackfaceVisible(backfaceVisible, false);
  std::unique_ptr<IIVVertexStream<IVVertexPN>> stream(render->GetVertexStreamPN());
  if (!stream) return;
  stream->BeginTriangles();
  for (std::size_t i = 0; i + 3 <= vertices.size(); i += 3) {
    const IVVertexPN& a = vertices[i];
    IVVertexPN b = vertices[i + 1], c = vertices[i + 2];
    b.nx = c.nx = a.nx;
    b.ny = c.ny = a.ny;
    b.nz = c.nz = a.nz;
    stream->AddTriangle(a, b, c);
  }
  stream->End();
}

void IVRenderEx::GetBoundingBox(M3DBoundingBox<float>& box, UIObject* object) {
  if (object) object->GetRender()->GetBoundingBox(box, 0xFFFFFFFF);
}

bool IVRenderEx::Get3DPointInWindowCoordinates(CPoint* out, const MMPoint3d<double>* in, UIObject* const object,
                                               UIWnd3D* window, unsigned int n) {
  return Project(in, object, window, n, [out](unsigned i, const MMPoint3d<double>& p) {
    out[i] = CPoint(vistal_render::RoundToPixel(p.x), vistal_render::RoundToPixel(p.y));
  });
}

bool IVRenderEx::Get3DPointInWindowCoordinates(MMPoint3d<double>* out, const MMPoint3d<double>* in,
                                               UIObject* const object, UIWnd3D* window, unsigned int n) {
  return Project(in, object, window, n, [out](unsigned i, const MMPoint3d<double>& p) { out[i] = p; });
}
