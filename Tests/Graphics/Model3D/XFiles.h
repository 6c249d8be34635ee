#pragma once

#include <initializer_list>
#include <string>

// Text ".x" files for the model tests.

inline std::string XHeader()
{
    return "xof 0303txt 0032\n";
}

// Normals for faces of the corner counts, every corner's the normal (0, 0, 1).
inline std::string XFlatNormals(std::initializer_list<int> cornerCounts)
{
    std::string faces;
    for (const int count : cornerCounts)
    {
        faces += (faces.empty() ? " " : ",\n ") + std::to_string(count) + ";0";
        for (int k = 1; k < count; ++k)
            faces += ",0";
        faces += ";";
    }
    return " MeshNormals {\n 1;\n 0;0;1;;\n " + std::to_string(cornerCounts.size()) + ";\n" + faces +
           ";\n }\n";
}

// A mesh block of one triangle over (0, 0, 0), (1, 0, 0), (0, 1, 0), facing +z.
inline std::string XTriangle(const std::string& name = "")
{
    return "Mesh " + name + " {\n 3;\n 0.0;0.0;0.0;,\n 1.0;0.0;0.0;,\n 0.0;1.0;0.0;;\n"
           " 1;\n 3;0,1,2;;\n" + XFlatNormals({3}) + "}\n";
}

// A frame transform of the 16 values in file order.
inline std::string XMatrix(const std::string& values)
{
    return "FrameTransformMatrix {\n " + values + ";;\n}\n";
}

inline std::string XTranslation(const std::string& x, const std::string& y, const std::string& z)
{
    return XMatrix("1,0,0,0, 0,1,0,0, 0,0,1,0, " + x + "," + y + "," + z + ",1");
}

// Everything the importer reads: templates, a header and comments, a mesh
// outside the frames, a frame Hull moved by 10 along x with a quad and a
// triangle over five positions, normals, texture coordinates and two
// materials (the quad has the second, "Glass"; the triangle the first,
// "Paint", which is textured), a child frame Turret scaled by 2 and lifted
// by 1 with a triangle, and an animation.
inline std::string XShip()
{
    return XHeader() + R"(// A comment before the templates
template Vector {
 <3d82ab5e-62da-11cf-ab39-0020af71e433>
 FLOAT x;
 FLOAT y;
 FLOAT z;
}
Header {
 1;
 0;
 1;
}
# a hash comment
)" + XTriangle("Loose") + "Frame Hull {\n" + XTranslation("10", "0", "0") + R"(
 Mesh Plate {
  5;
  0.0;0.0;0.0;,
  1.0;0.0;0.0;,
  1.0;1.0;0.0;,
  0.0;1.0;0.0;,
  0.5;2.0;0.0;;
  2;
  4;0,1,2,3;,
  3;3,2,4;;
  MeshNormals {
   1;
   0.0;0.0;2.0;;
   2;
   4;0,0,0,0;,
   3;0,0,0;;
  }
  MeshTextureCoords {
   5;
   0.0;0.0;,
   1.0;0.0;,
   1.0;1.0;,
   0.0;1.0;,
   0.5;0.5;;
  }
  MeshMaterialList {
   2;
   2;
   1,
   0;;
   Material Paint {
    1.0;0.5;0.25;0.75;;
    12.0;
    0.1;0.2;0.3;;
    0.0;0.0;0.4;;
    TextureFilename {
     "paint.png";
    }
   }
   Material Glass {
    0.2;0.2;0.2;1.0;;
    1.0;
    0.0;0.0;0.0;;
    0.0;0.0;0.0;;
   }
  }
 }
 Frame Turret {
)" + XMatrix("2,0,0,0, 0,2,0,0, 0,0,2,0, 0,0,1,1") + XTriangle() + R"( }
}
AnimationSet Idle {
 Animation {
  { Hull }
 }
}
)";
}

// XShip whose material "Paint" names its texture file as "".
inline std::string XShipWithoutPaintTexture()
{
    std::string ship = XShip();
    const std::string texture = "\"paint.png\"";
    ship.replace(ship.find(texture), texture.size(), "\"\"");
    return ship;
}

// A cube from -1 to 1 in the frame Box: six quads over its eight corners,
// wound outward, with a normal per corner pointing away from the centre.
inline std::string XCube()
{
    const std::string corners = " 8;\n -1;-1;-1;,\n 1;-1;-1;,\n 1;1;-1;,\n -1;1;-1;,\n"
                                " -1;-1;1;,\n 1;-1;1;,\n 1;1;1;,\n -1;1;1;;\n";
    const std::string faces = " 6;\n 4;0,3,2,1;,\n 4;4,5,6,7;,\n 4;0,1,5,4;,\n 4;2,3,7,6;,\n"
                              " 4;1,2,6,5;,\n 4;3,0,4,7;;\n";
    return XHeader() + "Frame Box {\nMesh {\n" + corners + faces + " MeshNormals {\n" + corners + faces +
           " }\n}\n}\n";
}
