#pragma once

#include "Graphics/Font.h"
#include "Ui/FrameView.h"
#include "Ui/Paint.h"

#include <optional>
#include <string>
#include <string_view>

namespace Ui
{

// A text drawn with a font at the frame's position and scale, wrapped to the
// frame's width when multiline. The text is prepared anew at the draw after
// it was set, unless the text, the width and the scale are those of the last
// preparation: setting the text it already has costs nothing.
class TextView : public FrameView
{
public:
    // The font may be null: the view then draws nothing.
    TextView(FrameModel* model, Font* font, const std::string& text);
    ~TextView() override;

    void Draw() override;

    // Takes effect at the next draw. A text longer than 4096 bytes is cut
    // there, at the start of a UTF-8 sequence, with a warning naming the
    // frame the first time.
    void SetText(std::string_view newText);
    // After a wrap, with its line breaks.
    const std::string& GetText() const { return text; }
    // The stored text's size in the font, unscaled.
    void GetTextSize(int& textWidth, int& textHeight) const;

    // Breaks the text at spaces and newlines into lines narrower than the
    // view; a word wider than the view stays whole on its own line. Only
    // multiline views with a width wrap.
    void WrapText();

    // "ADD" selects additive blending, any other word normal blending.
    void SetAlphaMode(const std::string& mode) { paint.SetMode(mode); }
    void SetMultiline(bool wraps) { multiline = wraps; }

    Paint paint;

private:
    // What the prepared text was made from, and its wrapped form.
    struct Preparation
    {
        std::string given;
        float width;
        float scale;
        std::string wrapped;
    };

    void Prepare();
    bool IsPrepared() const;
    int MeasureWidth(const std::string& line) const;

    bool multiline = false;
    Font* const font;
    Font::PreRender* prepared = nullptr;
    std::string text;
    bool changed = true;
    bool cutWarned = false;
    std::optional<Preparation> last;
};

} // namespace Ui
