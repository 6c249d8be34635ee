#pragma once

#include <string>

// The resource types of the data, by the numbers DataStore::AddResource takes.
// The numbers 0, 2, 8 and those above 11 name no type.
namespace ResourceType
{

const int Alias = 1;
const int Texture = 3;
const int AnimatedTexture = 4;
const int CubeMap = 5;
const int Font = 6;
const int TTFFont = 7;
const int Model = 9;
const int Sample = 10;
const int Music = 11;

// The number of a "type" word of a "resource" element, compared exactly
// ("Texture", not "texture"); 0 for a word that names no type.
int FromWord(const std::string& word);

} // namespace ResourceType
