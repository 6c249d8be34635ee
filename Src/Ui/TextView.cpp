#include "Ui/TextView.h"

#include "Engine/LuaState.h"
#include "Ui/FrameModel.h"
#include "Ui/LuaSelf.h"

#include <GL/gl.h>
#include <cstdio>

namespace Ui
{

namespace
{

// Far beyond any text of the game: a text is measured, wrapped and rendered
// whole each time it is set, which a script may do every frame.
const std::string_view::size_type MaxTextBytes = 4096;

// The length of the longest start of the text within MaxTextBytes that does
// not end inside a UTF-8 sequence.
std::string_view::size_type CutLength(std::string_view text)
{
    std::string_view::size_type length = MaxTextBytes;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    return length;
}

TextView& Self(lua_State* L)
{
    return *GetSelfView<TextView>(L);
}

int GetTextSize(lua_State* L)
{
    int width = 0;
    int height = 0;
    Self(L).GetTextSize(width, height);
    lua_pushinteger(L, width);
    lua_pushinteger(L, height);
    return 2;
}

int SetText(lua_State* L)
{
    LuaCheckArgs(L, 1);
    TextView& view = Self(L);
    view.SetText(lua_isstring(L, 2) ? lua_tostring(L, 2) : "");
    return 0;
}

} // namespace

TextView::TextView(FrameModel* model, Font* font, const std::string& text)
    : FrameView(model), font(font)
{
    SetText(text);
    model->AddMethods({{"SetColor", SetPaintColor<TextView>},
                       {"SetAlphaMode", SetPaintMode<TextView>},
                       {"GetTextSize", Ui::GetTextSize},
                       {"SetText", Ui::SetText},
                       {"GetText", CallMethod<&TextView::GetText>}});
}

TextView::~TextView()
{
    if (prepared)
        font->DeletePreRender(prepared);
}

void TextView::Draw()
{
    FrameView::Draw();
    if (text.empty() || !font)
        return;
    if (changed)
        Prepare();
    if (!prepared || scale == 0.0f)
        return;
    paint.Begin(alpha);
    glPushMatrix();
    glScalef(scale, scale, scale);
    font->Draw(x / scale, y / scale, 0.0f, prepared);
    glPopMatrix();
    paint.End();
}

// A font still loading prepares nothing; it is asked again at the next draw.
// A text that the font cannot prepare is not tried again until it, the width
// or the scale changes.
void TextView::Prepare()
{
    if (!font->IsReady())
        return;
    changed = false;
    if (IsPrepared())
    {
        text = last->wrapped;
        return;
    }
    const std::string given = text;
    WrapText();
    if (prepared)
        font->DeletePreRender(prepared);
    prepared = font->CreatePreRender(text);
    last = Preparation{given, width, scale, text};
}

bool TextView::IsPrepared() const
{
    return last && last->given == text && last->width == width && last->scale == scale;
}

void TextView::SetText(std::string_view newText)
{
    const bool cut = newText.size() > MaxTextBytes;
    const std::string_view kept = cut ? newText.substr(0, CutLength(newText)) : newText;
    if (cut && !cutWarned)
    {
        cutWarned = true;
        std::printf("Warning: the text of frame '%s' is cut to %zu of its %zu bytes\n",
                    GetFrameModel().GetName().c_str(), kept.size(), newText.size());
    }
    text.assign(kept);
    changed = true;
}

void TextView::GetTextSize(int& textWidth, int& textHeight) const
{
    textWidth = 0;
    textHeight = 0;
    if (font)
        font->GetTextSize(text, textWidth, textHeight);
}

int TextView::MeasureWidth(const std::string& line) const
{
    int lineWidth = 0;
    int lineHeight = 0;
    font->GetTextSize(line, lineWidth, lineHeight);
    return lineWidth;
}

void TextView::WrapText()
{
    if (!multiline || !font || width <= 0.0f)
        return;
    std::string wrapped;
    std::string::size_type start = 0;
    std::string::size_type search = 0;
    bool done = false;
    while (!done)
    {
        std::string::size_type end = text.find_first_of(" \n", search);
        done = end == std::string::npos;
        if (done)
            end = text.size();
        bool write = done;
        const std::string line = text.substr(start, end - start);
        if (line.empty() || MeasureWidth(line) * scale < width)
        {
            search = end + 1;
        }
        else
        {
            write = true;
            // Break after the last delimiter that fitted.
            if (search != start)
            {
                end = search;
                done = false;
            }
        }
        if (!write)
            continue;
        if (start != 0 && text[start - 1] != '\n')
            wrapped += '\n';
        wrapped.append(text, start, end - start);
        start = search = end;
    }
    text = wrapped;
}

} // namespace Ui
