#pragma once

#include <GL/gl.h>

// A numbered range of OpenGL display lists, deleted with the object. Indices
// outside the range, and every index when OpenGL could not make the range,
// are refused.
class DisplayList
{
public:
    explicit DisplayList(int count);
    ~DisplayList();
    DisplayList(const DisplayList&) = delete;
    DisplayList& operator=(const DisplayList&) = delete;

    // Starts recording list i (GL_COMPILE); End closes what Begin opened.
    bool Begin(int i);
    void End();
    bool Call(int i) const;

    int GetCount() const { return count; }
    GLuint GetBase() const { return base; }

private:
    bool Contains(int i) const { return base != 0 && i >= 0 && i < count; }

    int count;
    GLuint base;
    bool recording = false;
};
