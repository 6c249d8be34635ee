#include "Graphics/DisplayList.h"

DisplayList::DisplayList(int count) : count(count), base(count > 0 ? glGenLists(count) : 0) {}

DisplayList::~DisplayList()
{
    if (base != 0)
        glDeleteLists(base, count);
}

bool DisplayList::Begin(int i)
{
    if (!Contains(i) || recording)
        return false;
    glNewList(base + i, GL_COMPILE);
    recording = true;
    return true;
}

void DisplayList::End()
{
    if (!recording)
        return;
    glEndList();
    recording = false;
}

bool DisplayList::Call(int i) const
{
    if (!Contains(i))
        return false;
    glCallList(base + i);
    return true;
}
