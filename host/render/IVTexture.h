#pragma once
// A texture held by the renderer. Release() frees what the renderer keeps for it (the
// owner calls it before deleting the texture).
class IVTexture {
public:
  virtual void Release() = 0;
  virtual ~IVTexture() = default;
};
