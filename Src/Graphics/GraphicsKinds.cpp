#include "Graphics/GraphicsKinds.h"

#include "Engine/DataStore.h"
#include "Engine/ResourceType.h"
#include "Graphics/AnimatedTexture.h"
#include "Graphics/CubeMap.h"
#include "Graphics/Model3D/Model.h"
#include "Graphics/TTFFont.h"
#include "Graphics/Texture.h"
#include "Graphics/TextureFont.h"

#include <SDL_image.h>

namespace
{

template <class Kind>
Resource* Make(const std::string& path, DataStore& /*store*/)
{
    return new Kind(path);
}

Resource* MakeModel(const std::string& path, DataStore& store)
{
    return new Model(&store, path);
}

} // namespace

// The decoders' libraries are loaded here, so that loader threads never race
// to load them on their first image.
void RegisterGraphicsKinds()
{
    IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG | IMG_INIT_TIF);
    DataStore::RegisterKind(ResourceType::Texture, Make<Texture>);
    DataStore::RegisterKind(ResourceType::AnimatedTexture, Make<AnimatedTexture>);
    DataStore::RegisterKind(ResourceType::CubeMap, Make<CubeMap>);
    DataStore::RegisterKind(ResourceType::Font, Make<TextureFont>);
    DataStore::RegisterKind(ResourceType::TTFFont, Make<TTFFont>);
    DataStore::RegisterKind(ResourceType::Model, MakeModel);
}
