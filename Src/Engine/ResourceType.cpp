#include "Engine/ResourceType.h"

namespace ResourceType
{

int FromWord(const std::string& word)
{
    static const struct
    {
        const char* word;
        int type;
    } types[] = {
        {"Alias", Alias},     {"Texture", Texture}, {"AnimatedTexture", AnimatedTexture},
        {"CubeMap", CubeMap}, {"Font", Font},       {"TTFFont", TTFFont},
        {"3DModel", Model},   {"Sample", Sample},   {"Music", Music},
    };
    for (const auto& entry : types)
    {
        if (word == entry.word)
            return entry.type;
    }
    return 0;
}

} // namespace ResourceType
