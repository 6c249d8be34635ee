#include "Engine/ResourceType.h"

namespace ResourceType
{

namespace
{

const struct
{
    const char* word;
    int type;
} Types[] = {
    {"Alias", Alias},     {"Texture", Texture}, {"AnimatedTexture", AnimatedTexture},
    {"CubeMap", CubeMap}, {"Font", Font},       {"TTFFont", TTFFont},
    {"3DModel", Model},   {"Sample", Sample},   {"Music", Music},
};

} // namespace

int FromWord(const std::string& word)
{
    for (const auto& entry : Types)
    {
        if (word == entry.word)
            return entry.type;
    }
    return 0;
}

} // namespace ResourceType
