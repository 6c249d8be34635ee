#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class ibinstream;

// The pieces of the model file that the readers and writers of the mesh
// classes share: the limits of the format and the checks made on both sides.
// A file is hostile until read: every count and index is checked before it is
// used, and every failure of the read is the Error "Internal error".
namespace Model3D::ModelFile
{

const int Version = 1;
// The reader takes the counts of meshes, vertices, sub-meshes and triangles
// as signed 16-bit numbers.
const std::size_t MaxCount = 32767;
// Edge and face-plane counts are unsigned 16-bit numbers.
const std::size_t MaxEdges = 65535;
// The 16-bit value that marks the shadow mesh and an edge without a second
// face.
const int None = -1;

[[noreturn]] void Fail();

// Reads one word; fails unless it is the expected one.
void Expect(ibinstream& in, const char* word);
// A signed count; fails beyond 0..MaxCount or at the end of the data.
std::size_t ReadCount(ibinstream& in);
// An unsigned count that must equal the expected one.
void ExpectCount(ibinstream& in, std::size_t expected);
// An unsigned value below the limit.
std::uint32_t ReadIndex(ibinstream& in, std::size_t limit);
// A signed value below the limit, or None when allowed.
std::int32_t ReadFace(ibinstream& in, std::size_t limit, bool noneAllowed);
void ReadFloats(ibinstream& in, float* values, std::size_t count);

// The writer's checks, made before a file is created. A name or path is one
// word of the file and must hold no delimiter; what names it in the message.
void CheckWord(const std::string& text, const std::string& what);
void CheckCount(std::size_t count, std::size_t limit, const std::string& owner,
                const char* unit);

} // namespace Model3D::ModelFile
