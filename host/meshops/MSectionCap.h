#pragma once
// The outline of a cut face: the section of a mesh with the face's plane, closed within
// the region that the other clip planes keep.
//
// The kept region K is the intersection of the planes' kept half-spaces with the face's
// plane: a convex polygon. Inside K each section contour becomes one or more chains. A
// chain that leaves K through the line of another plane is continued along K's border to
// where the next chain comes back in: the section runs with the solid on its left (seen
// from the plane's positive side, as MNewSlicer makes it), so that part of the border,
// counter-clockwise from the exit, lies in the solid. A mesh that is open only where the
// other planes cut it away therefore gets the outline of the closed mesh. Where no chain
// reaches K's border, K lies wholly inside the solid or wholly outside; the side of the
// section nearest to it tells which. A mesh wound the other way round throughout (its
// section enclosing a negative area) is taken as if wound the usual way.
//
// A chain that ends inside K, where the mesh is open on the kept side, has no such
// continuation; its end is joined to the start of a chain by a straight edge, its own
// start where it can be, and the join is counted so that the caller can warn.
//
// The outline's section points are the slicer's points themselves, so a face filled from
// it meets the cut wall exactly; only points on K's border are new.
#include "host/HostApi.h"
#include "host/framework/MMPlaneEq.h"
#include "host/framework/MMPoint3d.h"
#include "host/meshops/MStlSlicerBase.h"

#include <cstddef>
#include <vector>

class VISTAL_HOST_API MSectionCap {
public:
  // A closed polygon in the plane, integer units; the last point links back to the first.
  using Loop = std::vector<MMPoint3d<double>>;

  // `section` is what MNewSlicer made of a mesh with `plane`; `keep` are the half-spaces
  // a*x + b*y + c*z + d >= 0 (integer units) that the face is drawn in. A keep plane
  // without a finite, non-zero normal keeps everything. Without a valid `plane` the
  // outline is empty.
  MSectionCap(const MStlSlicerBase::Border& section, const MMPlaneEq<double>& plane,
              const std::vector<MMPlaneEq<double>>& keep);

  // Under the odd winding rule the loops enclose the face; loops of fewer than three
  // points enclose nothing and are left out.
  const std::vector<Loop>& GetLoops() const { return m_loops; }
  // Straight edges that had to close chains ending inside the kept region.
  std::size_t GetNumJoins() const { return m_joins; }

private:
  std::vector<Loop> m_loops;
  std::size_t m_joins = 0;
};
