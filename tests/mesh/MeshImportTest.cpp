// Reading meshes of every format through the one import entry, and telling closed meshes
// from open ones and inward from outward.
#include "MeshTestSupport.h"

#include "host/mesh/MStlBuilder.h"
#include "host/mesh/MStlImport.h"
#include "host/mesh/MStlOrientation.h"
#include "host/mesh/MStlPrimitives.h"

#include <gmock/gmock.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>

#include <sys/stat.h>

using mesh_test::BinaryStl;
using mesh_test::ScratchDir;
using mesh_test::TraversalOrder;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using Corners = std::array<std::array<std::int32_t, 3>, 3>;

// The triangles in traversal order, each as its corners' integer coordinates.
std::vector<Corners> Triangles(const MStlBase& mesh) {
  std::vector<Corners> out;
  for (const MStlTriangle* t : TraversalOrder(mesh)) {
    Corners c;
    for (int k = 0; k < 3; ++k) c[k] = {t->points[k]->x, t->points[k]->y, t->points[k]->z};
    out.push_back(c);
  }
  return out;
}

// Each triangle's point numbers: equal lists mean equal welding.
std::vector<std::uint32_t> PointNumbers(const MStlBase& mesh) {
  std::vector<std::uint32_t> out;
  for (const MStlTriangle* t : TraversalOrder(mesh))
    for (const MStlPoint* p : t->points) out.push_back(p->GetMaskIndex());
  return out;
}

// A lopsided box with coordinates to the micrometre, so that a format that loses
// precision or the corner order shows.
std::unique_ptr<MStlBase> Reference() { return MStlPrimitives::MakeBox({-1.5f, 0.25f, 2.125f}, {1.75f, 2.5f, 3.5f}); }

struct Soup {
  std::vector<float> corners;           // x y z per corner, three corners per triangle
  std::vector<float> points;            // the distinct points, x y z each
  std::vector<std::uint32_t> indices;   // three per triangle
};

Soup SoupOf(const MStlBase& mesh) {
  Soup s;
  for (std::uint32_t i = 0; i < mesh.GetNumPoints(); ++i) {
    const auto p = mesh.GetPoint(i).ToScene();
    s.points.insert(s.points.end(), {p.x, p.y, p.z});
  }
  for (const MStlTriangle* t : TraversalOrder(mesh))
    for (const MStlPoint* p : t->points) {
      s.corners.insert(s.corners.end(), {p->ToScene().x, p->ToScene().y, p->ToScene().z});
      s.indices.push_back(p->GetMaskIndex());
    }
  return s;
}

std::string Number(float v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", v);
  return text;
}

std::string AsciiStl(const Soup& s) {
  std::string text = "solid box\n";
  for (std::size_t t = 0; t < s.corners.size(); t += 9) {
    text += " facet normal 0 0 0\n  outer loop\n";
    for (std::size_t k = t; k < t + 9; k += 3)
      text += "   vertex " + Number(s.corners[k]) + " " + Number(s.corners[k + 1]) + " " + Number(s.corners[k + 2]) + "\n";
    text += "  endloop\n endfacet\n";
  }
  return text + "endsolid box\n";
}

// Shared vertices, or (soup) three of its own per triangle, which the reader must weld.
std::string Obj(const Soup& s, bool soup) {
  std::string text = "# a box\nmtllib box.mtl\no box\n";
  const std::vector<float>& points = soup ? s.corners : s.points;
  for (std::size_t i = 0; i < points.size(); i += 3)
    text += "v " + Number(points[i]) + " " + Number(points[i + 1]) + " " + Number(points[i + 2]) + "\n";
  text += "usemtl skin\n";
  for (std::size_t i = 0; i < s.indices.size(); i += 3) {
    text += "f";
    for (std::size_t k = i; k < i + 3; ++k) text += " " + std::to_string((soup ? k : s.indices[k]) + 1);
    text += "\n";
  }
  return text;
}

std::string PlyHeader(const Soup& s, const std::string& format, const std::string& coordinate) {
  return "ply\nformat " + format + " 1.0\ncomment a box\nelement vertex " + std::to_string(s.points.size() / 3) +
         "\nproperty " + coordinate + " x\nproperty " + coordinate + " y\nproperty " + coordinate +
         " z\nelement face " + std::to_string(s.indices.size() / 3) +
         "\nproperty list uchar int vertex_indices\nend_header\n";
}

std::string AsciiPly(const Soup& s) {
  std::string text = PlyHeader(s, "ascii", "float");
  for (std::size_t i = 0; i < s.points.size(); i += 3)
    text += Number(s.points[i]) + " " + Number(s.points[i + 1]) + " " + Number(s.points[i + 2]) + "\n";
  for (std::size_t i = 0; i < s.indices.size(); i += 3)
    text += "3 " + std::to_string(s.indices[i]) + " " + std::to_string(s.indices[i + 1]) + " " +
            std::to_string(s.indices[i + 2]) + "\n";
  return text;
}

template <typename Coordinate>
std::string BinaryPly(const Soup& s, const std::string& coordinate) {
  std::string bytes = PlyHeader(s, "binary_little_endian", coordinate);
  for (float v : s.points) {
    const Coordinate c = v;
    bytes.append(reinterpret_cast<const char*>(&c), sizeof c);
  }
  for (std::size_t i = 0; i < s.indices.size(); i += 3) {
    bytes += char(3);
    bytes.append(reinterpret_cast<const char*>(&s.indices[i]), 3 * sizeof(std::uint32_t));
  }
  return bytes;
}

// The message of the MStlReadError that importing `path` throws; empty if it reads.
std::string ImportError(const std::string& path, std::uint64_t maxBytes = kStlMaxFileBytes) {
  try {
    ImportMesh(path, maxBytes);
  } catch (const MStlReadError& e) {
    EXPECT_EQ(e.GetPath(), path);
    EXPECT_THAT(e.what(), AllOf(HasSubstr(path), Not(HasSubstr("\n"))));
    return e.what();
  }
  ADD_FAILURE() << path << " was read without complaint";
  return {};
}

// The mesh's points with its corner list changed by `edit`.
std::unique_ptr<MStlBase> Rebuilt(const MStlBase& mesh, const std::function<void(std::vector<std::uint32_t>&)>& edit) {
  MStlBuilder b;
  const Soup s = SoupOf(mesh);
  b.AddPoints(std::span<const float>(s.points));
  std::vector<std::uint32_t> indices = s.indices;
  edit(indices);
  b.AddSurface(indices);
  return b.Build();
}

// The mesh with every triangle's winding reversed.
std::unique_ptr<MStlBase> Reversed(const MStlBase& mesh) {
  return Rebuilt(mesh, [](auto& indices) {
    for (std::size_t i = 0; i < indices.size(); i += 3) std::swap(indices[i + 1], indices[i + 2]);
  });
}

// The mesh without its last `drop` triangles.
std::unique_ptr<MStlBase> Without(const MStlBase& mesh, std::size_t drop) {
  return Rebuilt(mesh, [drop](auto& indices) { indices.resize(indices.size() - 3 * drop); });
}

}  // namespace

TEST(MeshImport, EveryFormatReadsToTheSameTriangles) {
  ScratchDir dir;
  const auto reference = Reference();
  const Soup s = SoupOf(*reference);
  WriteStlBinary(*reference, dir.File("binary.stl"));
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"ascii.stl", AsciiStl(s)},
      {"shared.obj", Obj(s, false)},
      {"soup.obj", Obj(s, true)},
      {"marked.obj", "\xEF\xBB\xBF" + Obj(s, false)},  // a UTF-8 byte order mark
      {"ascii.ply", AsciiPly(s)},
      {"binary.ply", BinaryPly<float>(s, "float")},
      {"double.ply", BinaryPly<double>(s, "double")},
      // The content decides, not the name.
      {"obj-named.stl", Obj(s, false)},
      {"ply-named.obj", AsciiPly(s)},
      {"stl-named.ply", BinaryStl(s.corners)},
      {"no-extension", Obj(s, true)},
  };
  const auto stl = ImportMesh(dir.File("binary.stl"));
  EXPECT_EQ(Triangles(*stl), Triangles(*reference));
  EXPECT_THROW(WriteStlBinary(*reference, dir.File("no/such/dir.stl")), std::runtime_error);
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    const auto mesh = ImportMesh(dir.Write(f.name, f.bytes));
    EXPECT_EQ(Triangles(*mesh), Triangles(*reference));
    EXPECT_EQ(PointNumbers(*mesh), PointNumbers(*stl)) << "corners welded as STL welds them";
    EXPECT_EQ(TraversalOrder(*mesh)[0]->normal[2], TraversalOrder(*reference)[0]->normal[2]);
  }
}

TEST(MeshImport, PolygonsBecomeTrianglesAndPointsAndLinesAreDropped) {
  ScratchDir dir;
  const std::string obj = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nf 1 2 3 4\nl 1 5\np 5\n";
  const auto mesh = ImportMesh(dir.Write("quad.obj", obj));
  EXPECT_EQ(mesh->GetNumTriangles(), 2u);
  EXPECT_EQ(mesh->GetNumPoints(), 4u);
  for (const MStlTriangle* t : TraversalOrder(*mesh)) EXPECT_FLOAT_EQ(t->normal[2], 1.0f) << "winding kept";

  // A concave quad whose first corner cannot see its third: a fan from it would turn one
  // triangle over and leave the notch covered.
  const auto dart = ImportMesh(dir.Write("dart.obj", "v 4 0 0\nv 1 1 0\nv 0 4 0\nv 0 0 0\nf 1 2 3 4\n"));
  ASSERT_EQ(dart->GetNumTriangles(), 2u);
  double area = 0;
  for (const MStlTriangle* t : TraversalOrder(*dart)) {
    EXPECT_FLOAT_EQ(t->normal[2], 1.0f);
    const auto a = t->points[0]->ToScene(), b = t->points[1]->ToScene(), c = t->points[2]->ToScene();
    area += 0.5 * std::fabs((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x));
  }
  EXPECT_DOUBLE_EQ(area, 4.0);

  // PLY faces of fewer than three corners, even none (which assimp's own splitting
  // aborts on), are left out.
  const std::string ply = "ply\nformat ascii 1.0\nelement vertex 4\nproperty float x\nproperty float y\n"
                          "property float z\nelement face 4\nproperty list uchar int vertex_indices\nend_header\n"
                          "0 0 0\n1 0 0\n1 1 0\n0 1 0\n0\n2 0 1\n4 0 1 2 3\n1 3\n";
  EXPECT_EQ(ImportMesh(dir.Write("sparse.ply", ply))->GetNumTriangles(), 2u);

  const auto cloud = ImportMesh(dir.Write("cloud.obj", "v 0 0 0\nv 1 0 0\n"));
  EXPECT_EQ(cloud->GetNumTriangles(), 0u);
}

TEST(MeshImport, ContentOfNoKnownFormatIsNamedWithTheFormatsThatAreRead) {
  ScratchDir dir;
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"notes.txt", "Scan of 3 March, see attached.\n"},
      {"picture.obj", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
      {"words.obj", "hello world\nv 1 2 3\n"},
      {"plywood.ply", "plywood\nformat ascii 1.0\n"},
      {"zeros.dat", std::string(684, '\0')},
  };
  for (const auto& f : files) {
    const std::string path = dir.Write(f.name, f.bytes);
    EXPECT_EQ(ImportError(path), "'" + path + "' is not a mesh file this program reads (binary or ASCII STL, OBJ, PLY)");
  }
  // A broken file named STL gets the STL reader's complaint, which says more.
  EXPECT_THAT(ImportError(dir.Write("cut.stl", BinaryStl(SoupOf(*Reference()).corners).substr(0, 300))),
              HasSubstr("truncated binary STL"));
}

TEST(MeshImport, FaultsAreOneLineNamingTheFile) {
  ScratchDir dir;
  EXPECT_EQ(ImportError(dir.File("absent.obj")), "cannot read '" + dir.File("absent.obj") + "': No such file or directory");
  EXPECT_THAT(ImportError(dir.Write("empty.ply", "")), HasSubstr("empty"));
  std::filesystem::create_directory(dir.File("folder.stl"));
  EXPECT_THAT(ImportError(dir.File("folder.stl")), HasSubstr("it is a directory"));
  // A device would feed the reader without end; a FIFO without a writer would block it.
  EXPECT_THAT(ImportError("/dev/zero"), HasSubstr("not a regular file"));
  ASSERT_EQ(::mkfifo(dir.File("pipe.stl").c_str(), 0600), 0);
  EXPECT_THAT(ImportError(dir.File("pipe.stl")), HasSubstr("not a regular file"));
  const std::string obj = dir.Write("box.obj", Obj(SoupOf(*Reference()), false));
  const std::uint64_t size = std::filesystem::file_size(obj);
  EXPECT_THAT(ImportError(obj, size - 1), HasSubstr(std::to_string(size) + " bytes, more than the " +
                                                    std::to_string(size - 1) + " bytes"));
  EXPECT_EQ(ImportMesh(obj, size)->GetNumTriangles(), 12u);

  // Cut PLY bodies: the importer would make up the rest, or read past the end.
  const Soup s = SoupOf(*Reference());
  const std::string ascii = AsciiPly(s), binary = BinaryPly<float>(s, "float");
  EXPECT_THAT(ImportError(dir.Write("cut-ascii.ply", ascii.substr(0, ascii.size() - 9))),
              AllOf(HasSubstr("truncated PLY"), HasSubstr("face 11 of the 12")));
  for (std::size_t cut : {5, 13, 30, 13 * 12 + 10})
    EXPECT_THAT(ImportError(dir.Write("cut.ply", binary.substr(0, binary.size() - cut))), HasSubstr("truncated PLY"))
        << cut;
  EXPECT_THAT(ImportError(dir.Write("header.ply", "ply\nformat ascii 1.0\nelement vertex 1\n")),
              HasSubstr("no end_header"));
  // A count beyond 64 bits would have the importer allocate for it.
  EXPECT_THAT(ImportError(dir.Write("huge.ply", "ply\nformat ascii 1.0\nelement face 56666666666666666666666\n"
                                                "property list uchar int vertex_indices\nend_header\n3 0 1 2\n")),
              HasSubstr("expected 'element <name> <count>'"));
  EXPECT_THAT(ImportError(dir.Write("letters.ply", PlyHeader(s, "ascii", "float") + "a b c\n")),
              HasSubstr("'a' is not a number"));
  EXPECT_THAT(ImportError(dir.Write("bad-index.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 9\n")), HasSubstr("malformed OBJ"));
  // The reach of coordinates is the STL reader's, whatever the format.
  EXPECT_THAT(ImportError(dir.Write("far.obj", "v 0 0 0\nv 716000 0 0\nv 0 1 0\nf 1 2 3\n")),
              AllOf(HasSubstr("triangle 0, corner 1"), HasSubstr("beyond the reach")));
}

TEST(MeshImport, TheImporterPrintsNothing) {
  ScratchDir dir;
  const Soup s = SoupOf(*Reference());
  const std::string files[] = {dir.Write("good.obj", Obj(s, false)), dir.Write("good.ply", BinaryPly<float>(s, "float")),
                               dir.Write("bad.ply", "ply\nformat ascii 1.0\nelement vertex x\nend_header\n"),
                               dir.Write("bad.obj", "v 0 0 0\nf 1 2 3\n")};
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  for (const std::string& path : files) {
    try {
      ImportMesh(path);
    } catch (const MStlReadError&) {
    }
  }
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(MeshImport, InwardClosedMeshesAreTurnedOutwardAndOpenOnesKeepTheirWinding) {
  ScratchDir dir;
  const auto outward = Reference();
  const auto inward = Reversed(*outward);
  const auto open = Without(*inward, 2);  // one side missing
  const struct {
    const char* name;
    const MStlBase& written;
    const MStlBase& expected;
  } cases[] = {{"outward", *outward, *outward}, {"inward", *inward, *outward}, {"open", *open, *open}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Soup s = SoupOf(c.written);
    for (const std::string& path : {dir.Write(std::string(c.name) + ".stl", BinaryStl(s.corners)),
                                    dir.Write(std::string(c.name) + ".ply", AsciiPly(s)),
                                    dir.Write(std::string(c.name) + ".obj", Obj(s, true))}) {
      SCOPED_TRACE(path);
      const auto mesh = ImportMesh(path);
      EXPECT_EQ(Triangles(*mesh), Triangles(c.expected));
      EXPECT_GT(TraversalOrder(*mesh)[0]->normal[0] * TraversalOrder(c.expected)[0]->normal[0] +
                    TraversalOrder(*mesh)[0]->normal[1] * TraversalOrder(c.expected)[0]->normal[1] +
                    TraversalOrder(*mesh)[0]->normal[2] * TraversalOrder(c.expected)[0]->normal[2],
                0.99f);
    }
  }
  // The STL reader's own entries turn it too.
  EXPECT_EQ(Triangles(*ReadStl(dir.File("inward.stl"))), Triangles(*outward));
  const std::string ascii = AsciiStl(SoupOf(*inward));
  EXPECT_EQ(Triangles(*ReadStlFromMemory(ascii, "inward")), Triangles(*outward));
}

TEST(MeshOrientation, ClosedMeshesShareEveryEdgeBetweenTwoOppositeTriangles) {
  const auto box = Reference();
  // Two tetrahedra that share the edge 0-1, each closed and outward: four triangles meet
  // at that edge.
  MStlBuilder touching;
  touching.AddPoints(std::vector<float>{0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, -1, 0, 0, 0, -1});
  touching.AddSurface(std::vector<std::uint32_t>{0, 2, 1, 0, 1, 3, 0, 3, 2, 1, 2, 3,    // x, y, z >= 0
                                                 0, 4, 1, 0, 1, 5, 0, 5, 4, 1, 4, 5});  // y, z <= 0
  const struct {
    const char* name;
    std::unique_ptr<MStlBase> mesh;
    bool closed;
  } cases[] = {
      {"box", Reference(), true},
      {"inward box", Reversed(*box), true},
      {"torus", MStlPrimitives::MakeTorus({0, 0, 0}, 10, 3, 16, 8), true},
      // A degenerate triangle (a point twice) has no edges to share.
      {"box with a degenerate triangle", Rebuilt(*box, [](auto& i) { i.insert(i.end(), {0, 0, 1}); }), true},
      {"box without a triangle", Without(*box, 1), false},
      {"box with a triangle turned over", Rebuilt(*box, [](auto& i) { std::swap(i[1], i[2]); }), false},
      {"tetrahedra sharing an edge", touching.Build(), false},  // no hole, yet no one solid
      {"plane patch", MStlPrimitives::MakePlanePatch({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 2, 2), false},
      {"empty", MStlBuilder().Build(), false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsClosedMesh(*c.mesh), c.closed) << c.name;
}

TEST(MeshOrientation, SignedVolumeIsPositiveOutwardAndNegativeInward) {
  const auto box = MStlPrimitives::MakeBox({-1, 2, 3}, {1, 5, 7});  // 2 x 3 x 4
  EXPECT_DOUBLE_EQ(SignedVolume(*box), 24.0);
  EXPECT_DOUBLE_EQ(SignedVolume(*Reversed(*box)), -24.0);
  const auto sphere = MStlPrimitives::MakeUvSphere({100, -50, 20}, 10, 96, 48);
  EXPECT_NEAR(SignedVolume(*sphere), 4.0 / 3.0 * std::numbers::pi * 1000.0, 0.01 * 4189.0);
  EXPECT_EQ(SignedVolume(*MStlBuilder().Build()), 0.0);
}

// What is turned is pinned through ImportMesh above; here the answers.
TEST(MeshOrientation, OnlyClosedInwardMeshesAreTurned) {
  auto inward = Reversed(*Reference());
  EXPECT_TRUE(OrientOutward(*inward));
  EXPECT_FALSE(OrientOutward(*inward)) << "already outward";
  EXPECT_FALSE(OrientOutward(*Without(*Reversed(*Reference()), 1)));
}
