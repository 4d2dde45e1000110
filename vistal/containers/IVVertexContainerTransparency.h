#pragma once
// The container through which the transparency cache draws its sorted table: every
// entry becomes one flat-shaded triangle coloured with its mesh's diffuse colour, and
// the stream is cut into batches wherever the run passes to a mesh whose captured state
// differs (all but the front material, which rides in the vertex colours), with that
// mesh's state restored before the next batch. Internal to the cache.
#include "host/render/IVVertexContainer.h"

class IVTransparencyCache;

class IVVertexContainerTransparency final : public IVVertexContainer<IVVertexPNC> {
public:
  IVVertexContainerTransparency() = default;
  ~IVVertexContainerTransparency() override = default;

  void Attach(IVTransparencyCache* cache_, IVRender* render_) {
    cache = cache_;
    render = render_;
  }

protected:
  void _Optimise(IIVVertexStream<IVVertexPNC>& stream) override;

private:
  IVTransparencyCache* cache = nullptr;
  IVRender* render = nullptr;
};
