#pragma once
// Selected triangles of a mesh, flat-shaded, with texture coordinates projected from a
// plane: the inverse of the plane matrix takes a vertex into plane coordinates, whose
// x and y, divided by the plane's width and height and scaled to the texture range,
// give u and v, v counted from the plane's far edge in y (images run top-down, the
// plane's y bottom-up).
//
// Two sets of triangles are drawn: those carrying the marker bit, in mesh traversal
// order, and then every record of the mesh's compact triangle array.
#include "host/framework/MMTransformMatrix.h"
#include "vistal/Api.h"
#include "vistal/containers/IVVertexContainerSTLData.h"

class VISTAL_API IVVertexContainerTexturedPlane : public IVVertexContainerSTLData<IVVertexPNT> {
public:
  // The mesh is not owned and must outlive the container. The plane starts as the
  // identity with a unit extent and the full texture range (uMax = vMax = 1), and
  // integer coordinates are divided by IE.
  explicit IVVertexContainerTexturedPlane(MStlBase* stl);
  IVVertexContainerTexturedPlane(const IVVertexContainerTexturedPlane&);
  IVVertexContainerTexturedPlane& operator=(const IVVertexContainerTexturedPlane&);
  ~IVVertexContainerTexturedPlane() override;

  void DestroyRenderOptimisations() override;

  // `planeMatrix` maps plane coordinates to vertex coordinates (its matrix, inverse and
  // flags are copied). `uMax` is u at the plane's far edge in x, `vMax` v at its origin
  // edge in y; `width` and `height` are the plane's extent in vertex units (0 makes the
  // coordinates infinite or NaN). `scaleByIE` divides integer coordinates by IE.
  // What was recorded for the renderer is dropped.
  void SetParams(const MMTransformMatrix& planeMatrix, float uMax, float vMax, float width, float height,
                 bool scaleByIE);

  const MMTransformMatrix& GetPlaneMatrix() const { return planeMatrix; }
  float GetUMax() const { return uMax; }
  float GetVMax() const { return vMax; }
  float GetWidth() const { return width; }
  float GetHeight() const { return height; }
  bool GetScaleByIE() const { return scaleByIE; }

protected:
  void _Optimise(IIVVertexStream<IVVertexPNT>& stream) override;
  // One triangle batch, opened even when nothing is drawn; nothing without a mesh.
  void _OptimiseFlatShading(IIVVertexStream<IVVertexPNT>& stream);

private:
  MMTransformMatrix planeMatrix;
  float uMax = 1.0f;
  float vMax = 1.0f;
  float width = 1.0f;
  float height = 1.0f;
  bool scaleByIE = true;
};
