#pragma once
// Umbrella header: every exported class of Vistal, and the host declarations a program
// needs to use them: making meshes, scene objects that draw and clip them, renderers.
#include "vistal/Api.h"

// Library frame and primitives, render extensions.
#include "vistal/frame/Version.h"
#include "vistal/frame/PNT_3D_FLOAT.h"
#include "vistal/render/IVRenderEx.h"
#include "vistal/render/IVRenderExBoundingBox.h"

// Clipping: planes, the per-object clipping state, the operation that changes it, the
// ready-made clippable object, and the clipping of a frame to a box.
#include "vistal/clipping/CClipPolyToBoundingBox.h"
#include "vistal/clipping/IClippableObject.h"
#include "vistal/clipping/ISimpleClippableObjectImp.h"
#include "vistal/clipping/MClippingData.h"
#include "vistal/clipping/MClippingPlane.h"
#include "vistal/clipping/UIOperationClipping.h"

// Vertex containers and the transparency cache.
#include "vistal/containers/IVTransparencyCache.h"
#include "vistal/containers/IVVertexContainerBoundingBox.h"
#include "vistal/containers/IVVertexContainerFrame.h"
#include "vistal/containers/IVVertexContainerM3dBorder.h"
#include "vistal/containers/IVVertexContainerMStlSurfaceBorderContour.h"
#include "vistal/containers/IVVertexContainerSTLData.h"
#include "vistal/containers/IVVertexContainerStlDataAnimation.h"
#include "vistal/containers/IVVertexContainerStlDataTexturedAnimation.h"
#include "vistal/containers/IVVertexContainerTexturedPlane.h"

// Data masks on mesh elements.
#include "vistal/masks/MPagedArray.h"
#include "vistal/masks/MDataMaskBase.h"
#include "vistal/masks/MDataMask.h"

// The preview control and its view, on the host's windows.
#include "vistal/preview/MCtrl3DPreview.h"
#include "vistal/preview/UIWnd3DPreview.h"

// Volume rendering.
#include "vistal/volume/UIVolumeRendering.h"

// Host: meshes (built from arrays, made as primitives, read from files) and their traversal.
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlBuilder.h"
#include "host/mesh/MStlPrimitives.h"
#include "host/mesh/MStlImport.h"
#include "host/mesh/MStlOrientation.h"
#include "host/mesh/MStlReader.h"
#include "host/mesh/MStlTraversal.h"
#include "host/mesh/MStlUnits.h"

// Host: scene objects, operations and coordinate systems; the mesh object and the cut-face
// surfaces that the clipping state makes through its surface creator.
#include "host/framework/MCoordinateSystem.h"
#include "host/framework/MOperation.h"
#include "host/framework/UIObject.h"
#include "host/framework/UIOperation.h"
#include "host/core/UIObjectMedical.h"
#include "host/core/UIStlObject.h"
#include "host/core/UISurface.h"
#include "host/meshops/UISurfaceSection.h"

// Host: the renderer interface that scene objects draw through, and its materials.
#include "host/render/IVDisplaySurface.h"
#include "host/render/IVRender.h"
#include "host/render/MMaterial.h"
