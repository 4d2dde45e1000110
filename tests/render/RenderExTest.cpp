// IVRenderEx as an object: its slice list (and the MRec list under it), flat triangle
// lists, and the projection of an object's points into a view.
#include "host/framework/MMTransformException.h"
#include "host/framework/MTransformRepository.h"
#include "host/framework/UISlice.h"
#include "host/view/UIWnd3D.h"
#include "testing/RecordingRender.h"
#include "vistal/render/IVRenderEx.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace {

// A slice that counts how often views showed or hid it.
struct CountingSlice : UISlice {
  int shown = 0, hidden = 0;
  void SetVisible(bool visible, unsigned scene) override {
    EXPECT_EQ(scene, 0xFFFFFFFFu);
    (visible ? shown : hidden)++;
    UISlice::SetVisible(visible, scene);
  }
};

TEST(RenderExSlices, AttachOnceShowAndHide) {
  IVRenderEx ex(nullptr);
  CountingSlice a, b, c;
  ex.AddSlice(a);
  ex.AddSlice(a);  // already attached: not shown again
  ex.AddSlice(b);
  ex.AddSlice(c);
  EXPECT_EQ(ex.GetNumSlices(), 3u);
  EXPECT_EQ(a.shown, 1);
  ex.RemoveSlice(b);
  EXPECT_EQ(b.hidden, 1);
  EXPECT_FALSE(b.IsVisible(0xFFFFFFFF));
  ASSERT_EQ(ex.GetNumSlices(), 2u);
  EXPECT_EQ(&ex.GetSlice(0), &a);
  EXPECT_EQ(&ex.GetSlice(1), &c);
  ex.RemoveSlice(b);  // not attached: nothing
  EXPECT_EQ(b.hidden, 1);

  // A copy has its own list; the destructor leaves visibility alone.
  {
    IVRenderEx copy(ex);
    copy.RemoveSlice(a);
    EXPECT_EQ(copy.GetNumSlices(), 1u);
    CountingSlice d;
    copy.AddSlice(d);
  }
  EXPECT_EQ(ex.GetNumSlices(), 2u);
  EXPECT_EQ(&ex.GetSlice(0), &a);
  EXPECT_EQ(c.hidden, 0);
}

TEST(RenderExSlices, KeepTheirOrderWhileTheListGrowsAndShrinks) {
  IVRenderEx ex(nullptr);
  std::vector<UISlice> s(60);
  for (UISlice& slice : s) ex.AddSlice(slice);
  for (unsigned i = 59; i >= 20; --i) ex.RemoveSlice(s[i]);
  ASSERT_EQ(ex.GetNumSlices(), 20u);
  for (unsigned i = 0; i < 20; ++i) EXPECT_EQ(&ex.GetSlice(i), &s[i]);
}

TEST(RecList, ReallocateKeepsTheLeadingItemsAndSetCountUsesAll) {
  MRecList<int> list;
  ASSERT_TRUE(list.Allocate(4));
  for (int v : {1, 2, 3}) list.Append(v);
  ASSERT_TRUE(list.Reallocate(2));
  EXPECT_EQ(list.GetCount(), 2u);
  EXPECT_EQ(list.GetCapacity(), 2u);
  EXPECT_EQ(list[1], 2);
  EXPECT_FALSE(list.Append(9));  // full
  ASSERT_TRUE(list.SetCount(5));
  EXPECT_EQ(list.GetCount(), 5u);
  EXPECT_EQ(list[0], 1);
  EXPECT_FALSE(list.RemoveAt(5));
  MRec<int> rec;
  ASSERT_TRUE(rec.Allocate(3));
  ASSERT_TRUE(rec.Reallocate(5));
  EXPECT_EQ(rec.GetCount(), 5u);
}

// A renderer whose PN streams log what reaches them.
struct StreamLog : RecordingRender {
  std::vector<std::string> log;
  struct Stream : IIVVertexStream<IVVertexPN> {
    std::vector<std::string>& log;
    explicit Stream(std::vector<std::string>& l) : log(l) {}
    ~Stream() override { log.push_back("delete"); }
    void BeginTriangles() override { log.push_back("begin"); }
    void BeginLines() override { log.push_back("lines"); }
    void BeginPoints() override { log.push_back("points"); }
    void End() override { log.push_back("end"); }
    void AddTriangle(const IVVertexPN& a, const IVVertexPN& b, const IVVertexPN& c) override {
      std::string s = "tri";
      for (const IVVertexPN* v : {&a, &b, &c})
        s += " " + std::to_string(int(v->x)) + "/" + std::to_string(int(v->nx));
      log.push_back(s);
    }
    void AddLine(const IVVertexPN&, const IVVertexPN&) override { log.push_back("line"); }
    void AddPoint(const IVVertexPN&) override { log.push_back("point"); }
  };
  IIVVertexStream<IVVertexPN>* GetVertexStreamPN() override { return new Stream(log); }
};

TEST(RenderExTriangles, FirstVertexNormalServesTheTriangle) {
  struct Case {
    std::deque<IVVertexPN> vertices;
    std::vector<std::string> want;
  };
  auto pn = [](float x, float nx) { return IVVertexPN{x, 0, 0, nx, 0, 1}; };
  const std::vector<Case> cases{
      {{}, {"begin", "end", "delete"}},
      {{pn(1, 10), pn(2, 20), pn(3, 30), pn(4, 40), pn(5, 50), pn(6, 60)},
       {"begin", "tri 1/10 2/10 3/10", "tri 4/40 5/40 6/40", "end", "delete"}},
      // A trailing incomplete triangle is left out.
      {{pn(1, 10), pn(2, 20), pn(3, 30), pn(4, 40)}, {"begin", "tri 1/10 2/10 3/10", "end", "delete"}},
  };
  for (Case c : cases) {
    StreamLog render;
    IVRenderEx(&render).RenderTriangles(c.vertices, true, false);
    EXPECT_EQ(render.log, c.want);
    const auto faces = render.CallsOf(ERenderCall::SetBackfaceVisible);
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_TRUE(faces[0].flags[0]);
    EXPECT_FALSE(faces[0].flags[1]);
  }
}

TEST(RenderExProjection, RoundsHalvesAwayFromZero) {
  UIWnd3D window;
  UISlice object;
  // The object's system inside the window's: its points are window points as they are.
  object.GetCoordinateSystem().GetInternalSystem()->SetDependent(
      window.GetCoordinateSystemWindow().GetInternalSystem());
  const MMPoint3d<double> in[] = {{-2.5, 2.5, 0.5}, {2.4999, -2.5001, 0}, {0.5, -0.5, 1}};
  CPoint out[4] = {{7, 7}, {7, 7}, {7, 7}, {7, 7}};
  ASSERT_TRUE(IVRenderEx::Get3DPointInWindowCoordinates(out, in, &object, &window, 3));
  EXPECT_EQ(out[0], CPoint(-3, 3));
  EXPECT_EQ(out[1], CPoint(2, -3));
  EXPECT_EQ(out[2], CPoint(1, -1));
  EXPECT_EQ(out[3], CPoint(7, 7));
  CPoint untouched(7, 7);
  EXPECT_TRUE(IVRenderEx::Get3DPointInWindowCoordinates(&untouched, in, &object, &window, 0));
  EXPECT_EQ(untouched, CPoint(7, 7));
  EXPECT_FALSE(IVRenderEx::Get3DPointInWindowCoordinates(&untouched, in, nullptr, &window, 1));
}

TEST(RenderExProjection, MapsThroughTheViewsCamera) {
  UIWnd3D window;
  window.SetClientSize(200, 100);
  const double eye[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, -10, 0, 0, 0, 1};
  ASSERT_TRUE(window.GetCamera().Reset(MMTransformMatrix(eye)));
  UISlice object;
  const MMPoint3d<double> in[] = {{0, 0, 0}, {1, -0.5, 2}};
  MMPoint3d<double> out[2];
  ASSERT_TRUE(IVRenderEx::Get3DPointInWindowCoordinates(out, in, &object, &window, 2));
  for (int i = 0; i < 2; ++i) {
    MMPoint3d<double> want;
    ASSERT_TRUE(window.GetCamera().ProjectToWindow(in[i], want));
    EXPECT_NEAR(out[i].x, want.x, 1e-9);
    EXPECT_NEAR(out[i].y, want.y, 1e-9);
    EXPECT_NEAR(out[i].z, want.z, 1e-9);
  }
  EXPECT_DOUBLE_EQ(out[0].x, 100.0);  // the centre of the picture
  // A point in the eye's plane has no perspective projection: the transform's exception
  // reaches the caller.
  const MMPoint3d<double> atEye{0, 0, 10};
  EXPECT_THROW(IVRenderEx::Get3DPointInWindowCoordinates(out, &atEye, &object, &window, 1), MMTransformException);
}

}  // namespace
