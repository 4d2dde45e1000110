// Textures of a mesh, border contours, colours and the unit scale.
#include "MeshTestSupport.h"

#include "host/mesh/MStlBuilder.h"
#include "host/mesh/MStlColor.h"
#include "host/mesh/MStlPrimitives.h"
#include "host/mesh/MStlSurfaceBorderContour.h"
#include "host/mesh/MStlTexture.h"
#include "host/mesh/MStlTextureFactory.h"

#include <limits>
#include <stdexcept>

using mesh_test::TraversalOrder;

TEST(MeshTextures, CoordinatesAreFoundPerTriangleAndListedInTraversalOrder) {
  const auto mesh = MStlPrimitives::MakeBox({0, 0, 0}, {1, 1, 1});
  const auto order = TraversalOrder(*mesh);
  EXPECT_EQ(mesh->GetTextureFactory(false), nullptr) << "made on request only";
  MStlTexture* texture = mesh->GetTextureFactory(true)->AddTexture();

  const MStlTextureCoordinates a(0.0f, 1.0f, 0.5f, 0.25f, 0.5f, 0.75f);
  const MStlTextureCoordinates b(0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f);
  texture->SetCoordinates(order[7], a);
  texture->SetCoordinates(order[2], b);
  texture->SetCoordinates(order[7], b);  // replaces, does not add

  MStlTextureCoordinates record;
  EXPECT_TRUE(texture->GetCoordinates(order[7], record, true));
  EXPECT_EQ(record, b);
  MStlTextureCoordinates untouched(9, 9, 9, 9, 9, 9);
  EXPECT_TRUE(texture->GetCoordinates(order[2], untouched, false)) << "false asks only whether it is mapped";
  EXPECT_EQ(untouched, MStlTextureCoordinates(9, 9, 9, 9, 9, 9));
  EXPECT_FALSE(texture->GetCoordinates(order[3], record, true));
  EXPECT_EQ(record, b) << "an unmapped triangle leaves the record alone";
  EXPECT_EQ(MStlTextureCoordinates(), MStlTextureCoordinates(0, 0, 0, 0, 0, 0));

  // The list is rebuilt on request, in mesh order rather than in the order of mapping.
  EXPECT_FALSE(texture->IsVectorValid());
  texture->_SpreadInvalidity();
  if (!texture->IsVectorValid()) texture->_ValidateVector();
  EXPECT_EQ(texture->GetTriangles(), (std::vector<const MStlTriangle*>{order[2], order[7]}));

  EXPECT_TRUE(texture->RemoveCoordinates(order[2]));
  EXPECT_FALSE(texture->RemoveCoordinates(order[2]));
  EXPECT_EQ(texture->GetTriangleList(), (std::vector<const MStlTriangle*>{order[7]}));

  const auto other = MStlPrimitives::MakeBox({0, 0, 0}, {1, 1, 1});
  EXPECT_THROW(texture->SetCoordinates(TraversalOrder(*other)[0], a), std::invalid_argument);
  EXPECT_THROW(texture->SetCoordinates(nullptr, a), std::invalid_argument);
}

TEST(MeshTextures, AnEditOfTheMeshInvalidatesTheTriangleList) {
  const auto mesh = MStlPrimitives::MakeBox({0, 0, 0}, {1, 1, 1});
  MStlTexture* texture = mesh->GetTextureFactory(true)->AddTexture();
  texture->SetCoordinates(TraversalOrder(*mesh)[0], {});
  ASSERT_EQ(texture->GetTriangleList().size(), 1u);
  ASSERT_TRUE(texture->IsVectorValid());

  MStlBuilder more;
  more.AddSurface({});
  more.AppendTo(*mesh);
  EXPECT_TRUE(texture->IsVectorValid()) << "nothing is told until somebody asks";
  texture->_SpreadInvalidity();
  EXPECT_FALSE(texture->IsVectorValid());
  EXPECT_EQ(texture->GetTriangleList().size(), 1u);
}

// Ring order and open or closed are drawn in the border-contour container's test.
TEST(MeshBorderContour, CopiesOwnTheirNodes) {
  const auto mesh = MStlPrimitives::MakeBox({0, 0, 0}, {1, 1, 1});
  const MStlPoint* pts[] = {&mesh->GetPoint(0), &mesh->GetPoint(1), &mesh->GetPoint(3)};
  MStlSurfaceBorderContour contour(pts, true);
  MStlSurfaceBorderContour copy = contour;
  contour = MStlSurfaceBorderContour(std::span<const MStlPoint* const>(pts, 1), false);
  EXPECT_EQ(copy.GetNumPoints(), 3u);
  EXPECT_EQ(copy.GetFirstNode()->next->next->point, pts[2]);
  EXPECT_EQ(copy.GetFirstNode()->next->next->next, copy.GetFirstNode());
  EXPECT_EQ(contour.GetFirstNode()->next, contour.GetFirstNode());
  const MStlPoint* withNull[] = {pts[0], nullptr};
  EXPECT_THROW(MStlSurfaceBorderContour(withNull, false), std::invalid_argument);
}

TEST(MeshValues, ColoursDefaultToOpaqueWhiteAndKeepChannelsInTheirBytes) {
  EXPECT_EQ(MStlColor().GetRGBA(), 0xFFFFFFFFu);
  EXPECT_EQ(MStlColor(1, 2, 3, 4).GetRGBA(), 0x04030201u);
}

TEST(MeshValues, SceneUnitsConvertToIntegerUnitsByRoundingToNearest) {
  ASSERT_EQ(IE, 1000);
  std::int32_t units = 0;
  EXPECT_EQ(MStlSceneToUnits(1.0625, units), EStlUnitsResult::eOk);  // 1062.5 exactly
  EXPECT_EQ(units, 1063) << "halves away from zero";
  EXPECT_EQ(MStlSceneToUnits(-1.0625, units), EStlUnitsResult::eOk);
  EXPECT_EQ(units, -1063);
  EXPECT_EQ(MStlSceneToUnits(0.0004, units), EStlUnitsResult::eOk);
  EXPECT_EQ(units, 0);
  EXPECT_EQ(MStlSceneToUnits(2147483.647, units), EStlUnitsResult::eOk);
  EXPECT_EQ(units, 2147483647);
  EXPECT_EQ(MStlSceneToUnits(2147483.6476, units), EStlUnitsResult::eOutOfRange);
  EXPECT_EQ(MStlSceneToUnits(-2147483.649, units), EStlUnitsResult::eOutOfRange);
  EXPECT_EQ(MStlSceneToUnits(std::numeric_limits<double>::infinity(), units), EStlUnitsResult::eNotFinite);
  EXPECT_DOUBLE_EQ(MStlUnitsToScene(1500), 1.5);

  IE = 10;  // the scale is the host's to choose; meshes store integers either way
  EXPECT_EQ(MStlSceneToUnits(25.0, units), EStlUnitsResult::eOk);
  EXPECT_EQ(units, 250);
  IE = 1000;
}
