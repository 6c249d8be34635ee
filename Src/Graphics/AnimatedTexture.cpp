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
    // In 64 bits: any frame count and frame height the definition gives
    // stay inside the products.
    const long long last = static_cast<long long>(frameCount) - 1;
    const long long clamped = std::min<long long>(std::max(frame, 0), last);
    u = static_cast<float>(frameWidth * (clamped % columns)) / width;
    v = static_cast<float>(frameHeight * (clamped / columns)) / height;
}

// The column count divides the frame numbers, so a row must hold a frame;
// frames taller than the sheet, or none at all, only draw strangely.
void AnimatedTexture::CheckGrid() const
{
    if (frameWidth < 1)
        throw Error("Animated texture '", path, "' has no frame grid");
    if (frameWidth > width)
        throw Error("The frames of animated texture '", path, "' are wider than its image ",
                    ToString(width) + "x" + ToString(height));
}
