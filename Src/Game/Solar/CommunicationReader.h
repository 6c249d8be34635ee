#pragma once

#include "Engine/DataReader.h"

#include <memory>
#include <string>

class CommunicationLabel;

// Reads a conversation into a tree of labels. Each element applies to the
// current label: the root at the top, the label of the enclosing
// "communication" element inside one.
//
//   communication label="name"   a child label, read with its children; a
//                                later label of the same name replaces it
//   line time="seconds"          a spoken line, 1 second unless told
//   option label="name"          an answer leading to a child label; one
//                                without text is left out
//   audio file="path"            the label's audio file
//   script, exit, return,        pieces of the label's Lua script, in
//   goto label="path"            document order
//
// Every other tag goes to the base, so a conversation may also register
// resources, run scripts, include files and build interface frames (under
// the parent object).
class CommunicationReader : public DataReader
{
public:
    CommunicationReader(DataStore* store, EventDispatcher* events, LuaState* lua);
    ~CommunicationReader() override;

    void ReadElement(const TiXmlNode* element) override;
    bool HandleTag(const TiXmlElement* element, const std::string& lowerTag) override;

    CommunicationLabel& GetRoot() const { return *root; }
    // Hands the tree over; the reader reads no more after it.
    std::unique_ptr<CommunicationLabel> TakeRoot();

private:
    using TagReader = void (CommunicationReader::*)(const TiXmlElement* element,
                                                    CommunicationLabel& label);
    static TagReader FindTag(const std::string& lowerTag);

    CommunicationLabel& CurrentLabel() const;

    void ReadLabel(const TiXmlElement* element, CommunicationLabel& label);
    void ReadLine(const TiXmlElement* element, CommunicationLabel& label);
    void ReadOption(const TiXmlElement* element, CommunicationLabel& label);
    void ReadAudio(const TiXmlElement* element, CommunicationLabel& label);
    void ReadScript(const TiXmlElement* element, CommunicationLabel& label);
    void ReadExit(const TiXmlElement* element, CommunicationLabel& label);
    void ReadReturn(const TiXmlElement* element, CommunicationLabel& label);
    void ReadGoto(const TiXmlElement* element, CommunicationLabel& label);

    std::unique_ptr<CommunicationLabel> root;
};
