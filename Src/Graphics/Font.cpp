#include "Graphics/Font.h"

#include "Engine/DataStore.h"

Font* DataStore::GetFont(const std::string& name, bool mustExist)
{
    return Get<Font>(name, mustExist);
}
