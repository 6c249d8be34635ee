#pragma once

#include "Ui/FrameView.h"

#include <vector>

class Texture;

namespace Ui
{

class AnimModel;

// Draws the current frame of its animation model over the view, opaque,
// whatever the frame's alpha, colour or blending.
class AnimView : public FrameView
{
public:
    explicit AnimView(AnimModel* model);

    void Draw() override;

    // A null texture leaves its frame blank.
    void AddFrame(Texture* texture) { textures.push_back(texture); }

private:
    std::vector<Texture*> textures;
};

} // namespace Ui
