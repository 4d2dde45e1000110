#pragma once
// What a mesh object tells the cut faces made for it (UISurfaceSection) when each face is
// drawn clipped by the object's other planes: which planes clip a face, so that the face
// can close its section along their lines, and a cache through which all its faces cut
// the mesh in one pass. Faces of a parent without this interface close their sections
// as if no other plane clipped them.
#include "host/HostApi.h"
#include "host/framework/MFrame.h"
#include "host/meshops/MSectionCache.h"

#include <vector>

class VISTAL_HOST_API ICutFaceParent {
public:
  // The planes that clip the cut face set up with the plane frame `face` when it is drawn,
  // its own plane left out, each as a frame in the object's scene units whose normal
  // points to the side the plane keeps. False (and no frames) when the object has no
  // plane with that frame. Asked whenever the face is drawn: an answer that differs from
  // the one the face was made with makes it again.
  virtual bool GetCutFaceClipFrames(const MFrame<float>& face, std::vector<MFrame<float>>& frames) const = 0;

  // The sections of the object's mesh, shared by its cut faces.
  MSectionCache& GetSectionCache() const { return m_section_cache; }

protected:
  ICutFaceParent();
  // A copy has a cache of its own, empty.
  ICutFaceParent(const ICutFaceParent&);
  ICutFaceParent& operator=(const ICutFaceParent&);
  virtual ~ICutFaceParent();

private:
  mutable MSectionCache m_section_cache;
};
