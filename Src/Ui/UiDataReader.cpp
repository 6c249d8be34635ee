#include "Ui/UiDataReader.h"

#include "Engine/DataStore.h"
#include "Engine/Error.h"
#include "Engine/Xml.h"
#include "Graphics/CubeMap.h"
#include "Graphics/Font.h"
#include "Graphics/Texture.h"
#include "Ui/AnimModel.h"
#include "Ui/AnimView.h"
#include "Ui/FrameController.h"
#include "Ui/FrameModel.h"
#include "Ui/KeyboardInputHandler.h"
#include "Ui/MouseButtonHandler.h"
#include "Ui/MouseMotionHandler.h"
#include "Ui/RepeatTextureView.h"
#include "Ui/SplitTextureView.h"
#include "Ui/TextView.h"
#include "Ui/UserEventHandler.h"

#include <cstdio>

namespace Ui
{

namespace
{

const std::string ParentPrefix = "$Parent";

int CountElements(const TiXmlElement& element)
{
    int count = 1;
    for (const TiXmlElement* child = element.FirstChildElement(); child;
         child = child->NextSiblingElement())
        count += CountElements(*child);
    return count;
}

void PrintMissing(const std::string& name)
{
    std::printf("Missing resource: '%s'\n", name.c_str());
}

// The text of a script element: its first child, when that is text or CDATA.
const char* ScriptCode(const TiXmlElement* script)
{
    const TiXmlNode* const child = script->FirstChild();
    return child && child->ToText() ? child->Value() : "";
}

// The model and the view of a new frame; the view draws the model.
struct FrameParts
{
    std::unique_ptr<FrameModel> model;
    std::unique_ptr<FrameView> view;
};

// What a frame kind makes its parts from.
struct FrameSource
{
    const UiDataReader& reader;
    const TiXmlElement* element;
    const std::string& name; // the full name
    LuaState* lua;
};

template <class View>
FrameParts MakeFrame(const FrameSource& source)
{
    FrameParts parts{std::make_unique<FrameModel>(source.name, source.lua), nullptr};
    parts.view = std::make_unique<View>(parts.model.get());
    return parts;
}

template <class View>
FrameParts MakeTextured(const FrameSource& source)
{
    FrameParts parts{std::make_unique<FrameModel>(source.name, source.lua), nullptr};
    parts.view =
        std::make_unique<View>(parts.model.get(), source.reader.GetTexture(source.element));
    return parts;
}

// The text and the font name are read before the frame's table exists.
FrameParts MakeText(const FrameSource& source)
{
    const std::string text = XmlGetAttribute(source.element, "text", "");
    const std::string fontName = XmlRequireAttribute(source.element, "font");
    FrameParts parts{std::make_unique<FrameModel>(source.name, source.lua), nullptr};
    parts.view =
        std::make_unique<TextView>(parts.model.get(), source.reader.GetFont(fontName), text);
    return parts;
}

FrameParts MakeAnim(const FrameSource& source)
{
    std::unique_ptr<AnimModel> model = std::make_unique<AnimModel>(source.name, source.lua);
    std::unique_ptr<AnimView> view = std::make_unique<AnimView>(model.get());
    return {std::move(model), std::move(view)};
}

void ReadAlphaMode(const TiXmlElement* element, FrameController& frame)
{
    frame.GetView<TextureView>()->SetAlphaMode(XmlGetAttribute(element, "alphaMode", ""));
}

void ReadTiles(const TiXmlElement* element, FrameController& frame)
{
    ReadAlphaMode(element, frame);
    RepeatTextureView& view = *frame.GetView<RepeatTextureView>();
    XmlRequireInt(element, "texWidth", view.tileWidth);
    XmlRequireInt(element, "texHeight", view.tileHeight);
}

void ReadMultiline(const TiXmlElement* element, FrameController& frame)
{
    bool multiline = false;
    XmlGetBool(element, "multiline", multiline, false);
    frame.GetView<TextView>()->SetMultiline(multiline);
}

void ReadPlayback(const TiXmlElement* element, FrameController& frame)
{
    AnimModel& model = static_cast<AnimModel&>(frame.GetFrameModel());
    XmlGetBool(element, "loop", model.loop, false);
    XmlGetBool(element, "reverse", model.reverse, false);
}

} // namespace

// One frame tag: how its model and view are made, and the attributes of its
// own, read after the common ones.
struct UiDataReader::FrameKind
{
    const char* tag;
    FrameParts (*make)(const FrameSource& source);
    void (*readAttributes)(const TiXmlElement* element, FrameController& frame);
};

const UiDataReader::FrameKind* UiDataReader::FindFrameKind(const std::string& lowerTag)
{
    static const FrameKind kinds[] = {
        {"frame", MakeFrame<FrameView>, nullptr},
        {"texture", MakeTextured<TextureView>, ReadAlphaMode},
        {"splittexture", MakeTextured<SplitTextureView>, ReadAlphaMode},
        {"repeattexture", MakeTextured<RepeatTextureView>, ReadTiles},
        {"text", MakeText, ReadMultiline},
        {"anim", MakeAnim, ReadPlayback}};
    for (const FrameKind& kind : kinds)
    {
        if (lowerTag == kind.tag)
            return &kind;
    }
    return nullptr;
}

UiDataReader::UiDataReader(DataStore* store, EventDispatcher* events, LuaState* lua,
                           FrameController& root)
    : DataReader(store, events, lua), root(root)
{
}

UiDataReader::~UiDataReader() = default;

DataReader* UiDataReader::Make(DataStore* store, EventDispatcher* events, LuaState* lua,
                               Object* parent)
{
    FrameController* const root = dynamic_cast<FrameController*>(parent);
    if (!root)
        throw Error("Can't find frame 'UiRoot' to read the interface into!");
    return new UiDataReader(store, events, lua, *root);
}

FrameController& UiDataReader::RequireFrame(FrameController& root, const std::string& name)
{
    FrameController* const frame = root.FindFrame(name);
    if (!frame)
        throw Error("Can't find frame '", name, "' to read the interface into!");
    return *frame;
}

// Outside any read the root frame is the current frame already.
void UiDataReader::InheritContext(const DataReader& other)
{
    DataReader::InheritContext(other);
    SetCurrentContext(&root);
}

void UiDataReader::ReadWithSubReader(const TiXmlElement* element, const std::string& lowerTag)
{
    DataReader::ReadWithSubReader(element, lowerTag);
}

void UiDataReader::ReadElement(const TiXmlNode* element)
{
    ReadChildren(element, GetCurrentFrame());
}

FrameController* UiDataReader::GetCurrentFrame() const
{
    void* const context = CurrentContext();
    return context ? static_cast<FrameController*>(context) : &root;
}

bool UiDataReader::HandleTag(const TiXmlElement* element, const std::string& lowerTag)
{
    if (element->Attribute("template"))
    {
        StoreTemplate(element);
        return true;
    }
    if (!element->Attribute("inherits"))
        return Dispatch(element, lowerTag);
    const std::unique_ptr<TiXmlElement> merged = Inherit(element);
    return Dispatch(merged.get(), lowerTag);
}

void UiDataReader::StoreTemplate(const TiXmlElement* element)
{
    const std::string name = XmlRequireAttribute(element, "name");
    CountStoredTemplate(element, CountElements(*element));
    std::unique_ptr<TiXmlElement> copy(element->Clone()->ToElement());
    copy->RemoveAttribute("template");
    copy->RemoveAttribute("name");
    templates[name] = std::move(copy);
}

// The template with the element's attributes set on it and the element's
// children after its own; one level only.
std::unique_ptr<TiXmlElement> UiDataReader::Inherit(const TiXmlElement* element)
{
    const std::string name = element->Attribute("inherits");
    const auto found = templates.find(name);
    if (found == templates.end())
        throw Error("Template '", name, "' not found! Used in '", element->ValueStr(),
                    "' element!");
    // The element itself becomes the template's copy.
    CountBuiltFromTemplates(element, CountElements(*found->second) + CountElements(*element) - 1);
    std::unique_ptr<TiXmlElement> merged(found->second->Clone()->ToElement());
    for (const TiXmlAttribute* attribute = element->FirstAttribute(); attribute;
         attribute = attribute->Next())
        merged->SetAttribute(attribute->NameTStr(), attribute->ValueStr());
    for (const TiXmlElement* child = element->FirstChildElement(); child;
         child = child->NextSiblingElement())
        merged->InsertEndChild(*child);
    return merged;
}

bool UiDataReader::Dispatch(const TiXmlElement* element, const std::string& lowerTag)
{
    if (const FrameKind* const kind = FindFrameKind(lowerTag))
    {
        BuildFrame(element, *kind);
        return true;
    }
    if (const PropertyReader property = FindProperty(lowerTag))
    {
        (this->*property)(element, *GetCurrentFrame());
        return true;
    }
    return DataReader::HandleTag(element, lowerTag);
}

UiDataReader::PropertyReader UiDataReader::FindProperty(const std::string& lowerTag)
{
    static const struct
    {
        const char* tag;
        PropertyReader reader;
    } properties[] = {
        {"size", &UiDataReader::ReadSize},     {"relativesize", &UiDataReader::ReadRelativeSize},
        {"anchor", &UiDataReader::ReadAnchor}, {"offset", &UiDataReader::ReadOffset},
        {"color", &UiDataReader::ReadColor},   {"scripts", &UiDataReader::ReadScripts},
        {"split", &UiDataReader::ReadSplit},   {"animframe", &UiDataReader::ReadAnimFrame}};
    for (const auto& property : properties)
    {
        if (lowerTag == property.tag)
            return property.reader;
    }
    return nullptr;
}

// The frame is in the tree while its children are read, so that anchors
// inside find it.
void UiDataReader::BuildFrame(const TiXmlElement* element, const FrameKind& kind)
{
    CountFrame(element);
    FrameController& parentFrame = *GetCurrentFrame();
    FrameController* const frame = CreateFrame(element, kind);
    parentFrame.AddChild(frame);
    try
    {
        ReadChildren(element, frame);
    }
    catch (...)
    {
        parentFrame.DeleteChild(frame);
        throw;
    }
}

FrameController* UiDataReader::CreateFrame(const TiXmlElement* element, const FrameKind& kind)
{
    FrameController* const parentFrame = GetCurrentFrame();
    const std::string name = ResolveName(parentFrame, XmlRequireAttribute(element, "name"));
    FrameParts parts = kind.make({*this, element, name, lua});
    // From here on the frame owns the model, the view and the handlers.
    std::unique_ptr<FrameController> frame(
        new FrameController(parts.model.release(), parts.view.release(), events, parentFrame));
    ReadAttributes(element, *frame);
    if (kind.readAttributes)
        kind.readAttributes(element, *frame);
    return frame.release();
}

void UiDataReader::ReadAttributes(const TiXmlElement* element, FrameController& frame)
{
    FrameModel& model = frame.GetFrameModel();
    XmlGetInt(element, "id", model.id, 0);
    XmlGetBool(element, "visible", model.visible, true);
    XmlGetBool(element, "ignoreScale", model.ignoreScale, false);
    XmlGetBool(element, "integerCoords", model.integerCoords, false);
    if (XmlGetBool(element, "mouseButtonHandler", false))
        frame.AddHandler(new MouseButtonHandler(&frame));
    if (XmlGetBool(element, "mouseMotionHandler", false))
        frame.AddHandler(new MouseMotionHandler(&frame));
    if (XmlGetBool(element, "keyboardInputHandler", false))
        frame.AddHandler(new KeyboardInputHandler(&frame));
    if (XmlGetBool(element, "eventHandler", false))
        frame.AddHandler(new UserEventHandler(&frame));
}

Texture* UiDataReader::GetTexture(const TiXmlElement* element) const
{
    const std::string name = XmlRequireAttribute(element, "resource");
    Texture* const texture = store->GetTexture(name, true);
    if (texture && !dynamic_cast<CubeMap*>(texture))
        return texture;
    PrintMissing(name);
    return nullptr;
}

Font* UiDataReader::GetFont(const std::string& name) const
{
    Font* const font = store->GetFont(name, true);
    if (!font)
        PrintMissing(name);
    return font;
}

void UiDataReader::ReadSize(const TiXmlElement* element, FrameController& frame)
{
    FrameModel& model = frame.GetFrameModel();
    XmlGetInt(element, "width", model.width, 0);
    XmlGetInt(element, "height", model.height, 0);
}

void UiDataReader::ReadRelativeSize(const TiXmlElement* element, FrameController& frame)
{
    int width = -1;
    int height = -1;
    XmlGetInt(element, "width", width, -1);
    XmlGetInt(element, "height", height, -1);
    frame.GetFrameModel().relativeWidth = static_cast<float>(width);
    frame.GetFrameModel().relativeHeight = static_cast<float>(height);
}

// Only frames read before the anchor can be found; a name that finds none
// leaves the anchor's frame as it was.
void UiDataReader::ReadAnchor(const TiXmlElement* element, FrameController& frame)
{
    FrameModel& model = frame.GetFrameModel();
    model.point = ParsePoint(XmlRequireAttribute(element, "point"));
    model.relativePoint = ParsePoint(XmlGetAttribute(element, "relativePoint", "TOPLEFT"));
    if (const char* const relativeTo = element->Attribute("relativeTo"))
    {
        const FrameController* const parent = frame.GetParent();
        if (FrameController* const found =
                root.FindFrame(parent ? ResolveName(parent, relativeTo) : relativeTo))
            model.relativeTo = found;
    }
    ReadChildren(element, &frame);
}

void UiDataReader::ReadOffset(const TiXmlElement* element, FrameController& frame)
{
    int x = 0;
    int y = 0;
    XmlGetInt(element, "x", x, 0);
    XmlGetInt(element, "y", y, 0);
    frame.GetFrameModel().offsetX = static_cast<float>(x);
    frame.GetFrameModel().offsetY = static_cast<float>(y);
}

void UiDataReader::ReadColor(const TiXmlElement* element, FrameController& frame)
{
    float red = 1.0f;
    float green = 1.0f;
    float blue = 1.0f;
    XmlGetFloat(element, "red", red, 1.0f);
    XmlGetFloat(element, "green", green, 1.0f);
    XmlGetFloat(element, "blue", blue, 1.0f);
    FrameModel& model = frame.GetFrameModel();
    XmlGetFloat(element, "alpha", model.alpha, model.alpha);
    const Color color(red, green, blue);
    if (TextureView* const texture = frame.GetView<TextureView>())
        texture->paint.color = color;
    if (TextView* const text = frame.GetView<TextView>())
        text->paint.color = color;
}

void UiDataReader::ReadScripts(const TiXmlElement* element, FrameController& frame)
{
    for (const TiXmlElement* script = element->FirstChildElement(); script;
         script = script->NextSiblingElement())
    {
        if (!frame.SetScript(script->ValueStr(), ScriptCode(script)))
            XmlUnknownTag(script);
    }
}

void UiDataReader::ReadSplit(const TiXmlElement* element, FrameController& frame)
{
    SplitTextureView* const view = frame.GetView<SplitTextureView>();
    if (!view)
        return;
    float left = 0.0f;
    float right = 0.0f;
    float top = 1.0f;
    float bottom = 1.0f;
    XmlGetFloat(element, "left", left, 0.0f);
    XmlGetFloat(element, "right", right, 0.0f);
    XmlGetFloat(element, "top", top, 1.0f);
    XmlGetFloat(element, "bottom", bottom, 1.0f);
    view->SetSplit(left, right, top, bottom);
}

void UiDataReader::ReadAnimFrame(const TiXmlElement* element, FrameController& frame)
{
    AnimModel* const model = dynamic_cast<AnimModel*>(&frame.GetFrameModel());
    AnimView* const view = frame.GetView<AnimView>();
    if (!model || !view)
        return;
    XmlRequireAttribute(element, "resource");
    float seconds = 1.0f;
    XmlGetFloat(element, "time", seconds, 1.0f);
    model->AddFrame(seconds);
    view->AddFrame(GetTexture(element));
}

std::string UiDataReader::ResolveName(const FrameController* parent, const std::string& name)
{
    if (!parent)
        return "";
    if (name.compare(0, ParentPrefix.size(), ParentPrefix) != 0)
        return name;
    return parent->GetFrameModel().GetName() + name.substr(ParentPrefix.size());
}

FramePoint UiDataReader::ParsePoint(const std::string& name)
{
    static const struct
    {
        const char* name;
        FramePoint point;
    } points[] = {{"TOP", TOP},
                  {"LEFT", LEFT},
                  {"RIGHT", RIGHT},
                  {"BOTTOM", BOTTOM},
                  {"TOPLEFT", TOPLEFT},
                  {"TOPRIGHT", TOPRIGHT},
                  {"BOTTOMLEFT", BOTTOMLEFT},
                  {"BOTTOMRIGHT", BOTTOMRIGHT},
                  {"CENTER", CENTER}};
    for (const auto& entry : points)
    {
        if (name == entry.name)
            return entry.point;
    }
    std::printf("Unknown point '%s'\n", name.c_str());
    return TOPLEFT;
}

} // namespace Ui
