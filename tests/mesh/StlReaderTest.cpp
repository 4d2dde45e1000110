// Reading STL files, good and bad: what comes back, and what the error says. The file
// checks, shared with the other formats, are in MeshImportTest.
#include "MeshTestSupport.h"

#include "host/mesh/MStlPrimitives.h"
#include "host/mesh/MStlReader.h"

#include <gmock/gmock.h>

#include <cmath>
#include <limits>

using mesh_test::BinaryStl;
using mesh_test::ScratchDir;
using mesh_test::TraversalOrder;
using ::testing::AllOf;
using ::testing::HasSubstr;

namespace {

// The 12 triangles of the unit cube, corners repeated per triangle as STL stores them.
std::vector<float> CubeCorners() {
  const auto box = MStlPrimitives::MakeBox({0, 0, 0}, {1, 1, 1});
  std::vector<float> corners;
  for (const MStlTriangle* t : TraversalOrder(*box))
    for (const MStlPoint* p : t->points) corners.insert(corners.end(), {p->ToScene().x, p->ToScene().y, p->ToScene().z});
  return corners;
}

std::string AsciiFacet(const char* a, const char* b, const char* c) {
  return std::string("  facet normal 0 0 1\n    outer loop\n      vertex ") + a + "\n      vertex " + b +
         "\n      vertex " + c + "\n    endloop\n  endfacet\n";
}

// The message of the MStlReadError that reading `path` throws; empty if it reads.
std::string ReadError(const std::string& path) {
  try {
    ReadStl(path);
  } catch (const MStlReadError& e) {
    EXPECT_EQ(e.GetPath(), path);
    EXPECT_THAT(e.what(), HasSubstr(path));
    return e.what();
  }
  ADD_FAILURE() << path << " was read without complaint";
  return {};
}

}  // namespace

TEST(StlReader, BinaryHeaderStartingWithSolidIsStillBinary) {
  ScratchDir dir;
  const auto mesh = ReadStl(dir.Write("solid.stl", BinaryStl(CubeCorners(), 12, "solid cube exported by a tool")));
  EXPECT_EQ(mesh->GetNumTriangles(), 12u);
  EXPECT_EQ(mesh->GetNumPoints(), 8u) << "corners shared by triangles are welded";
}

TEST(StlReader, AsciiFilesAreReadInAnyKeywordCaseAcrossSeveralSolids) {
  ScratchDir dir;
  const std::string text = "solid first part\n" + AsciiFacet("0 0 0", "1 0 0", "1 1 0") +
                           "endsolid first part\n"
                           "SOLID second\n  FACET NORMAL 0 0 1\n OUTER LOOP\n VERTEX 0 0 0\n VERTEX +1.0 1e0 0\n"
                           " VERTEX 0 1 -0\n ENDLOOP\n ENDFACET\nENDSOLID\n";
  const auto mesh = ReadStl(dir.Write("two.stl", text));
  EXPECT_EQ(mesh->GetNumTriangles(), 2u);
  EXPECT_EQ(mesh->GetNumPoints(), 4u);
  const auto order = TraversalOrder(*mesh);
  EXPECT_EQ(order[1]->points[0], order[0]->points[0]);
  EXPECT_EQ(order[1]->points[1], order[0]->points[2]);

  const std::string empty = "solid nothing\nendsolid nothing\n";
  const auto none = ReadStl(dir.Write("none.stl", empty));
  EXPECT_EQ(none->GetNumTriangles(), 0u);
  EXPECT_NE(none->GetRootFeature(), nullptr) << "still one (empty) surface under the root";
}

TEST(StlReader, CornersWeldWhenTheyRoundToTheSameMicrometre) {
  ScratchDir dir;
  std::string text = "solid w\n" + AsciiFacet("0 0 0", "1 0 0", "0 1 0") +
                     AsciiFacet("0.0004 0 0", "1.0004 0.0000001 0", "0 0 1") +
                     AsciiFacet("0.0005 0 0", "1 0 0", "0 0 1") + "endsolid w\n";
  const auto mesh = ReadStl(dir.Write("w.stl", text));
  const auto order = TraversalOrder(*mesh);
  EXPECT_EQ(order[1]->points[0], order[0]->points[0]);
  EXPECT_EQ(order[1]->points[1], order[0]->points[1]);
  EXPECT_NE(order[2]->points[0], order[0]->points[0]) << "0.5 um rounds to 1 um";
  EXPECT_EQ(order[2]->points[0]->x, 1);
  EXPECT_EQ(mesh->GetNumPoints(), 5u);
}

TEST(StlReader, BinaryFilesWithWrongSizesAreRejected) {
  ScratchDir dir;
  const std::string good = BinaryStl(CubeCorners());
  EXPECT_THAT(ReadError(dir.Write("cut.stl", good.substr(0, good.size() - 7))),
              AllOf(HasSubstr("truncated"), HasSubstr("12 triangles")));
  EXPECT_THAT(ReadError(dir.Write("more.stl", BinaryStl(CubeCorners(), 11))),
              AllOf(HasSubstr("count"), HasSubstr("disagrees with the file size")));
  EXPECT_THAT(ReadError(dir.Write("huge.stl", BinaryStl(CubeCorners(), 0xFFFFFFFFu))), HasSubstr("truncated"));
  EXPECT_THAT(ReadError(dir.Write("short.stl", std::string(50, 'x'))), HasSubstr("too short"));
  // Claims to be ASCII, but is a cut binary file (it holds NUL bytes).
  EXPECT_THAT(ReadError(dir.Write("solidcut.stl", BinaryStl(CubeCorners(), 12, "solid x").substr(0, 300))),
              HasSubstr("truncated"));
}

TEST(StlReader, UnusableCoordinatesAreRejectedNamingTheTriangle) {
  ScratchDir dir;
  std::vector<float> corners = CubeCorners();
  corners[5 * 9 + 4] = std::numeric_limits<float>::quiet_NaN();
  EXPECT_THAT(ReadError(dir.Write("nan.stl", BinaryStl(corners))),
              AllOf(HasSubstr("triangle 5, corner 1"), HasSubstr("NaN or infinite")));
  corners = CubeCorners();
  corners[2] = -std::numeric_limits<float>::infinity();
  EXPECT_THAT(ReadError(dir.Write("inf.stl", BinaryStl(corners))), HasSubstr("triangle 0, corner 0"));
  // A third of the 32-bit range in micrometres is the reach, so that the sum of a
  // triangle's corners cannot wrap: 715.8 m is read, 715.9 m is not.
  const struct {
    float x;
    bool read;
  } reach[] = {{715827.8f, true}, {-715827.8f, true}, {715900.0f, false}, {-715900.0f, false}, {2.2e6f, false}};
  for (const auto& c : reach) {
    corners = CubeCorners();
    corners[9] = c.x;
    const std::string path = dir.Write("far.stl", BinaryStl(corners));
    if (c.read) {
      EXPECT_EQ(ReadStl(path)->GetBoundingBoxInUnits().min.x, c.x < 0 ? std::lround(double(c.x) * 1000) : 0) << c.x;
    } else {
      EXPECT_THAT(ReadError(path), AllOf(HasSubstr("triangle 1, corner 0"), HasSubstr("beyond the reach"),
                                         HasSubstr("715827882 integer units")))
          << c.x;
    }
  }

  const std::string text = "solid s\n" + AsciiFacet("0 0 0", "1 0 0", "0 1 0") +
                           AsciiFacet("0 0 0", "1 nan 0", "0 1 0") + "endsolid s\n";
  EXPECT_THAT(ReadError(dir.Write("nan-ascii.stl", text)), AllOf(HasSubstr("line 12"), HasSubstr("NaN")));
  const std::string far = "solid s\n" + AsciiFacet("0 0 0", "1e300 0 0", "0 1 0") + "endsolid s\n";
  EXPECT_THAT(ReadError(dir.Write("far-ascii.stl", far)), HasSubstr("beyond the reach"));
}

TEST(StlReader, MalformedAsciiIsReportedWithItsLine) {
  ScratchDir dir;
  const std::string missing = "solid s\n  facet normal 0 0 1\n    outer loop\n      vertex 0 0 0\n"
                              "      vertex 1 0\n      vertex 0 1 0\n    endloop\n  endfacet\nendsolid s\n";
  EXPECT_THAT(ReadError(dir.Write("short-vertex.stl", missing)),
              AllOf(HasSubstr("malformed ASCII"), HasSubstr("line 6"), HasSubstr("expected a number")));
  const std::string unfinished = "solid s\n" + AsciiFacet("0 0 0", "1 0 0", "0 1 0");
  EXPECT_THAT(ReadError(dir.Write("unfinished.stl", unfinished)), HasSubstr("end of the file"));
  const std::string trailing = "solid s\nendsolid s\ngarbage\n";
  EXPECT_THAT(ReadError(dir.Write("trailing.stl", trailing)), HasSubstr("line 3"));
}
