#include "testing/RenderCall.h"

#include <ostream>
#include <sstream>

std::ostream& operator<<(std::ostream& os, ERenderCall kind) {
  static const char* const names[] = {
      "StartFrame",       "StopFrame",         "LoadWorldToEyeMatrix", "LoadEyeToWindowMatrix",
      "SetBackfaceVisible", "SetMaterialBack", "SetMaterial",          "SetClipPlane",
      "EnableClipPlane",  "BeginTransparency", "ApplyTransparency",    "EndTransparency",
      "RestoreState",     "RestoreStateType",  "DrawBatches",          "DrawVertices"};
  return os << names[static_cast<int>(kind)];
}

// Every argument field, whether the call uses it or not: enough to tell calls apart.
std::string RenderCall::ToString() const {
  std::ostringstream os;
  os << kind << "(slot " << slot << ", flags " << flags[0] << flags[1] << ", diffuse 0x" << std::hex << diffuse
     << ", clip planes 0x" << enabledClipPlanes << std::dec << ", primitive " << int(primitive) << ", " << count
     << " vertices, floats";
  for (float f : floats) os << ' ' << f;
  os << ')';
  return os.str();
}

std::ostream& operator<<(std::ostream& os, const RenderCall& call) { return os << call.ToString(); }
