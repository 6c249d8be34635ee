#include "Graphics/AnimatedTexture.h"

#include "Engine/DataStore.h"
#include "Engine/Error.h"
#include "Engine/StringUtil.h"
#include "Engine/Xml.h"

#include <algorithm>
#include <cstdio>

AnimatedTexture* DataStore::GetAnimatedTexture(const std::string& name, bool mustExist)
{
    return Get<AnimatedTexture>(name, mustExist);
}

AnimatedTexture::AnimatedTexture(const std::string& path) : Texture(path) {}

void AnimatedTexture::Load()
{
    if (IsReady())
        return;
    ReadDefinition("AnimatedTexture", true);
    Texture::Load();
    CheckGrid();
    if (rescaled)
        std::printf("Warning: the frames of \"%s\" are measured against its rescaled size %dx%d\n",
                    path.c_str(), width, height);
    columns = width / frameWidth;
    frameU = static_cast<float>(frameWidth) / width;
    frameV = static_cast<float>(frameHeight) / height;
}

bool AnimatedTexture::ParseElement(const TiXmlElement* element, const std::string& lowerTag)
{
    if (lowerTag == "grid")
    {
        XmlRequireInt(element, "x", frameWidth);
        XmlRequireInt(element, "y", frameHeight);
    }
    else if (lowerTag == "framecount")
        XmlRequireInt(element, "value", frameCount);
    else if (lowerTag == "frametime")
        XmlRequireFloat(element, "value", frameTime);
    else
        return Texture::ParseElement(element, lowerTag);
    return true;
}

void AnimatedTexture::GetFrameOrigin(int frame, float& u, float& v) const
{
    if (columns < 1) // not loaded
    {
        u = v = 0.0f;
        return;
    }
    frame = std::min(std::max(frame, 0), frameCount - 1);
    u = static_cast<float>(frameWidth * (frame % columns)) / width;
    v = static_cast<float>(frameHeight * (frame / columns)) / height;
}

void AnimatedTexture::CheckGrid() const
{
    if (frameWidth < 1 || frameHeight < 1)
        throw Error("Animated texture '", path, "' has no frame grid");
    if (frameWidth > width || frameHeight > height)
        throw Error("The frames of animated texture '", path, "' are larger than its image ",
                    ToString(width) + "x" + ToString(height));
    if (frameCount < 1)
        throw Error("Animated texture '", path, "' has no frames");
}
