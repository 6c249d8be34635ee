#pragma once

#include "Engine/DataReader.h"
#include "Ui/FramePoint.h"

#include <map>
#include <memory>
#include <string>

class Font;
class Texture;

namespace Ui
{

class FrameController;
class FrameModel;

// Reads an interface definition, the children of a data file's "Ui"
// element, into frames under a root frame: frame tags build frames with
// their widget views and input handlers, property tags change the current
// frame, templates are stored and inherited. Every other tag goes to the
// base, so a definition may also register resources, run scripts and
// include files. Frame scripts are only stored, none runs while reading.
//
// A frame whose reading fails is taken out of the tree and deleted with
// its handlers; the error goes on. Templates that would hold or build more
// elements than any interface needs (templates inheriting templates), counted
// over the whole read with its sub readers, are refused before they are
// copied.
class UiDataReader : public DataReader
{
public:
    UiDataReader(DataStore* store, EventDispatcher* events, LuaState* lua, FrameController& root);
    ~UiDataReader() override;

    // The reader of "ui" elements: its root is the reading reader's parent
    // object, which must be a frame.
    static DataReader* Make(DataStore* store, EventDispatcher* events, LuaState* lua,
                            Object* parent);
    // The frame of that full name under the root, to read a definition into;
    // throws Error naming the frame when there is none.
    static FrameController& RequireFrame(FrameController& root, const std::string& name);

    // Takes over the other reader's place; the root frame becomes the
    // current frame.
    void InheritContext(const DataReader& other) override;
    // A nested "ui" element gets a reader of its own, under the parent
    // object (the state's root, not the current frame) and without these
    // templates.
    void ReadWithSubReader(const TiXmlElement* element, const std::string& lowerTag) override;
    // Reads the children into the current frame, which is the root frame
    // until a frame's children are read.
    void ReadElement(const TiXmlNode* element) override;
    bool HandleTag(const TiXmlElement* element, const std::string& lowerTag) override;

    // The frame whose children are being read; the root frame outside any.
    FrameController* GetCurrentFrame() const;

    // "$Parent" at the very start of the name stands for the parent's full
    // name, once; without a parent the full name is empty.
    static std::string ResolveName(const FrameController* parent, const std::string& name);
    // The point of that name, compared exactly; an unknown name prints
    // "Unknown point '<name>'" and gives TOPLEFT.
    static FramePoint ParsePoint(const std::string& name);
    // The texture of the element's "resource" and the font of that name for
    // a widget. A name the stores do not know fails; one of no resource, or a
    // cube map, is reported and gives null: the widget draws nothing.
    Texture* GetTexture(const TiXmlElement* element) const;
    Font* GetFont(const std::string& name) const;

private:
    using PropertyReader = void (UiDataReader::*)(const TiXmlElement* element,
                                                  FrameController& frame);

    void StoreTemplate(const TiXmlElement* element);
    std::unique_ptr<TiXmlElement> Inherit(const TiXmlElement* element);
    bool Dispatch(const TiXmlElement* element, const std::string& lowerTag);
    static PropertyReader FindProperty(const std::string& lowerTag);

    struct FrameKind;
    static const FrameKind* FindFrameKind(const std::string& lowerTag);

    void BuildFrame(const TiXmlElement* element, const FrameKind& kind);
    FrameController* CreateFrame(const TiXmlElement* element, const FrameKind& kind);
    // The attributes every frame tag has.
    static void ReadAttributes(const TiXmlElement* element, FrameController& frame);

    void ReadSize(const TiXmlElement* element, FrameController& frame);
    void ReadRelativeSize(const TiXmlElement* element, FrameController& frame);
    void ReadAnchor(const TiXmlElement* element, FrameController& frame);
    void ReadOffset(const TiXmlElement* element, FrameController& frame);
    void ReadColor(const TiXmlElement* element, FrameController& frame);
    void ReadScripts(const TiXmlElement* element, FrameController& frame);
    void ReadSplit(const TiXmlElement* element, FrameController& frame);
    void ReadAnimFrame(const TiXmlElement* element, FrameController& frame);

    FrameController& root;
    std::map<std::string, std::unique_ptr<TiXmlElement>> templates;
};

} // namespace Ui
