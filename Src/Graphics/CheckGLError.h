#pragma once

// Reports the first pending OpenGL error, if any, as one line of standard
// output: "OpenGL error #<number>", the context when given, and GLU's text.
// Returns the error's number, 0 when there is none.
int CheckGLError(const char* context);
