#include "Engine/DataStore.h"

#include "Engine/DataFile.h"
#include "Engine/Error.h"
#include "Engine/Object.h"
#include "Engine/PointerResource.h"
#include "Engine/ResourceType.h"
#include "Support/Capture.h"
#include "Support/FakeResource.h"
#include "Support/TempDirectory.h"

#include <functional>
#include <gtest/gtest.h>
#include <tinyxml.h>

namespace
{

const int Fake = ResourceType::Texture;
const int OtherFake = ResourceType::Sample;
const int FailingFont = ResourceType::Font;

Resource* MakeFailingFont(const std::string& path, DataStore& /*store*/)
{
    throw Error("Can't open file '", path, "'");
}

std::unique_ptr<TiXmlElement> ParseElement(const char* text)
{
    TiXmlDocument document("Data/Root.xml");
    document.Parse(text);
    EXPECT_FALSE(document.Error()) << document.ErrorDesc();
    return std::unique_ptr<TiXmlElement>(
        static_cast<TiXmlElement*>(document.RootElement()->Clone()));
}

class Counted : public Object
{
public:
    explicit Counted(int& deleted) : deleted(deleted) {}
    ~Counted() override { ++deleted; }

private:
    int& deleted;
};

class DataStoreTest : public testing::Test
{
protected:
    void SetUp() override
    {
        DataStore::RegisterKind(Fake, MakeFakeResource);
        DataStore::RegisterKind(OtherFake, MakeOtherFakeResource);
        DataStore::RegisterKind(FailingFont, MakeFailingFont);
        CreateFileMutex();
    }

    void TearDown() override
    {
        DataStore::RegisterKind(Fake, nullptr);
        DataStore::RegisterKind(OtherFake, nullptr);
        DataStore::RegisterKind(FailingFont, nullptr);
        DestroyFileMutex();
    }

    FakeResource* AddFake(DataStore& store, const std::string& path, const char* alias = nullptr)
    {
        return dynamic_cast<FakeResource*>(store.AddResource(path, alias, Fake));
    }

    DataStore parent{nullptr};
    DataStore store{&parent};
};

} // namespace

TEST_F(DataStoreTest, AnEntryOfThisStoreWinsWhateverTheType)
{
    Resource* first = store.AddResource("Data/a.png", nullptr, Fake);
    ASSERT_NE(nullptr, dynamic_cast<FakeResource*>(first));
    EXPECT_EQ(first, store.AddResource("Data/a.png", nullptr, OtherFake));
    EXPECT_EQ(first, store.AddResource("Data/a.png", nullptr, ResourceType::Alias));
    EXPECT_EQ(first, store.AddResource("Data/a.png", nullptr, 0));
    EXPECT_EQ(first, store.Find("Data/a.png", true));
    EXPECT_FALSE(first->IsQueued());

    // An ancestor's entry of that name is hidden by a new local one.
    Resource* inParent = parent.AddResource("Data/b.png", nullptr, OtherFake);
    Resource* local = store.AddResource("Data/b.png", nullptr, Fake);
    EXPECT_NE(inParent, local);
    EXPECT_NE(nullptr, dynamic_cast<FakeResource*>(local));
    EXPECT_EQ(local, store.Find("Data/b.png", true));
    EXPECT_EQ(inParent, parent.Find("Data/b.png", true));

    // Names are case-sensitive.
    EXPECT_EQ(nullptr, store.Find("data/a.png", true));
}

// The entry that came first stays, whatever comes after it, without a word.
TEST_F(DataStoreTest, ANameThatStandsKeepsItsEntrySilently)
{
    Resource* const texture = store.AddResource("Data/a.png", "A", Fake);
    Resource* const camera = new FakeResource("Camera");
    EXPECT_TRUE(store.AddExisting("Camera", nullptr, camera));
    const struct
    {
        const char* path;
        const char* alias;
        int type;
    } cases[] = {
        {"Data/a.png", "A", Fake},
        {"Data/a.png", nullptr, OtherFake},
        {"Data/b.wav", "A", OtherFake},
        {"Data/a.png", "Data/a.png", Fake},
        {"Data/c.wav", "A", ResourceType::Alias},
        {"Camera", nullptr, Fake},
        {"Data/a.png", nullptr, 0},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ("", OutputOf([&] { store.AddResource(c.path, c.alias, c.type); })) << c.path;
        EXPECT_EQ(texture, store.Find("A", true)) << c.path;
    }
    EXPECT_EQ(texture, store.Find("Data/a.png", true));
    EXPECT_EQ(camera, store.Find("Camera", true));
    EXPECT_NE(nullptr, dynamic_cast<OtherFakeResource*>(store.Find("Data/b.wav", true)));
}

TEST_F(DataStoreTest, TypesWithoutAKindAreRefused)
{
    DataStore::RegisterKind(ResourceType::Model, MakeFakeResource);
    DataStore::RegisterKind(ResourceType::Model, nullptr);
    for (const int type : {0, 2, 8, 12, -1, ResourceType::Model})
    {
        EXPECT_EQ("Invalid data type requested!",
                  ErrorOf([&] { store.AddResource("Data/a.png", "A", type); }))
            << type;
        EXPECT_EQ(nullptr, store.Find("Data/a.png", true)) << type;
        EXPECT_EQ(nullptr, store.Find("A", false)) << type;
    }

    // A kind that reads its file while it is made fails the registration.
    EXPECT_EQ("Can't open file 'Data/a.fnt'",
              ErrorOf([&] { store.AddResource("Data/a.fnt", nullptr, FailingFont); }));
    EXPECT_EQ(nullptr, store.Find("Data/a.fnt", true));

    EXPECT_EQ("Alias field missing from alias resource!",
              ErrorOf([&] { store.AddResource("Data/a.png", nullptr, ResourceType::Alias); }));
}

TEST_F(DataStoreTest, AliasesStandForTheirPathAsSeenFromTheirStore)
{
    // The alias comes before its target, which may be registered later.
    Resource* alias = store.AddResource("Data/later.png", "Later", ResourceType::Alias);
    EXPECT_EQ(alias, store.Find("Later", false));
    EXPECT_EQ(nullptr, store.Find("Later", true));
    FakeResource* later = AddFake(store, "Data/later.png");
    EXPECT_EQ(later, store.Find("Later", true));
    EXPECT_EQ("Data/later.png", store.GetAliasTarget("Later"));

    // An alias of the parent is resolved in the parent, even where the child
    // has its own entry under the target's path.
    FakeResource* shared = AddFake(parent, "Data/shared.png", "Shared");
    FakeResource* hiding = AddFake(store, "Data/shared.png");
    EXPECT_EQ(shared, store.Find("Shared", true));
    EXPECT_EQ(hiding, store.Find("Data/shared.png", true));

    // A child's alias reaches the parent's resource.
    store.AddResource("Data/shared.png", "Mine", ResourceType::Alias);
    EXPECT_EQ(hiding, store.Find("Mine", true));
    parent.AddResource("Data/only.png", nullptr, Fake);
    store.AddResource("Data/only.png", "Only", ResourceType::Alias);
    EXPECT_EQ(parent.Find("Data/only.png", true), store.Find("Only", true));

    // An alias name in use keeps its first meaning.
    AddFake(store, "Data/other.png", "Later");
    EXPECT_EQ(later, store.Find("Later", true));

    // Without follow a look-up only answers which alias stands under a name.
    EXPECT_EQ(nullptr, store.Find("Data/shared.png", false));
    EXPECT_EQ(nullptr, store.Find("Nothing", false));
    EXPECT_EQ("Missing resource: 'Data/shared.png'",
              ErrorOf([&] { store.GetAliasTarget("Data/shared.png"); }));
    EXPECT_EQ("Missing resource: 'Nothing'", ErrorOf([&] { store.GetAliasTarget("Nothing"); }));
}

TEST_F(DataStoreTest, AliasesThatLoopStandForNothing)
{
    store.AddResource("B", "A", ResourceType::Alias);
    store.AddResource("A", "B", ResourceType::Alias);
    store.AddResource("Self", "Self", ResourceType::Alias);
    parent.AddResource("Up", "Down", ResourceType::Alias);
    store.AddResource("Down", "Up", ResourceType::Alias);
    for (const char* name : {"A", "B", "Self", "Up"})
    {
        EXPECT_EQ(nullptr, store.Find(name, true)) << name;
        EXPECT_NE(nullptr, store.Find(name, false)) << name;
        EXPECT_EQ(std::string("Missing resource: '") + name + "'",
                  OutputOf([&] { EXPECT_EQ(nullptr, store.GetResource(name, false)); }));
    }
}

TEST_F(DataStoreTest, MissingNamesAreReportedUnlessEmpty)
{
    AddFake(store, "Data/a.png");
    struct Case
    {
        std::string name;
        bool mustExist;
        std::string printed;
        std::string error;
    };
    const Case cases[] = {
        {"", false, "", "no error"},
        {"", true, "", "no error"},
        {"Data/none.png", false, "Missing resource: 'Data/none.png'", "no error"},
        {"Data/none.png", true, "", "Missing resource: 'Data/none.png'"},
        // A resource of another kind.
        {"Data/a.png", false, "", "no error"},
        {"Data/a.png", true, "", "Missing resource: 'Data/a.png'"},
    };
    for (const Case& c : cases)
    {
        std::string error;
        const std::string printed = OutputOf(
            [&]
            {
                error = ErrorOf(
                    [&] { EXPECT_EQ(nullptr, store.Get<OtherFakeResource>(c.name, c.mustExist)); });
            });
        EXPECT_EQ(c.printed, printed) << c.name << " " << c.mustExist;
        EXPECT_EQ(c.error, error) << c.name << " " << c.mustExist;
    }
    // The resource of another kind was queued all the same.
    EXPECT_TRUE(store.Find("Data/a.png", true)->IsQueued());
}

TEST_F(DataStoreTest, PublishedObjectsAreReadyAndOwnedOnceKept)
{
    int deleted = 0;
    {
        DataStore own(&parent);
        Object* camera = new Counted(deleted);
        auto* published = new PointerResource(camera, true);
        EXPECT_TRUE(own.AddExisting("Camera", "View", published));
        EXPECT_EQ(camera, own.GetPointer("Camera", true));
        EXPECT_EQ(camera, own.GetPointer("View", true));
        EXPECT_TRUE(published->IsReady());
        EXPECT_FALSE(published->IsQueued());
        EXPECT_EQ(nullptr, own.GetPointer("", true));

        // A name found in the store or an ancestor is not taken.
        AddFake(parent, "Data/a.png");
        PointerResource refused(new Counted(deleted), true);
        EXPECT_FALSE(own.AddExisting("Data/a.png", "Other", &refused));
        EXPECT_FALSE(own.AddExisting("Camera", nullptr, &refused));
        EXPECT_EQ(parent.Find("Data/a.png", true), own.Find("Other", true));
        EXPECT_EQ(nullptr, own.GetPointer("Data/a.png", false));
        EXPECT_EQ("Missing resource: 'Data/a.png'",
                  ErrorOf([&] { own.GetPointer("Data/a.png", true); }));

        // Without ownership the object stays the caller's.
        Counted kept(deleted);
        EXPECT_TRUE(own.AddExisting("Kept", nullptr, new PointerResource(&kept, false)));
        EXPECT_EQ(0, deleted);
    }
    // The refused resource and the published camera; the kept object goes
    // with its scope.
    EXPECT_EQ(3, deleted);
}

// The game's own names: one taken here or in an ancestor is an error, and
// the resource offered goes.
TEST_F(DataStoreTest, PublishingATakenNameIsAnErrorAndDeletesTheResource)
{
    int deleted = 0;
    DataStore own(&parent);
    own.Publish("Camera", new PointerResource(new Counted(deleted), true));
    AddFake(parent, "Data/a.png");
    for (const std::string name : {"Camera", "Data/a.png"})
    {
        EXPECT_EQ(
            "Internal error, the resource '" + name + "' is published already",
            ErrorOf([&] { own.Publish(name, new PointerResource(new Counted(deleted), true)); }));
    }
    EXPECT_EQ(2, deleted);
    EXPECT_NE(nullptr, own.GetPointer("Camera", true));
}

TEST_F(DataStoreTest, RemoveRefusesAResourceWhoseLoadIsQueued)
{
    AddFake(store, "Data/idle.png");
    FakeResource* kept = AddFake(store, "Data/kept.png");
    FakeResource* loading = AddFake(store, "Data/loading.png");
    SDL_sem* gate = SDL_CreateSemaphore(0);
    loading->gate = gate;
    store.GetResource("Data/loading.png", true);

    EXPECT_FALSE(store.Remove("Data/loading.png", true));
    EXPECT_FALSE(store.Remove("Data/none.png", true));
    EXPECT_TRUE(store.Remove("Data/idle.png", true));
    EXPECT_EQ(nullptr, store.Find("Data/idle.png", true));
    EXPECT_TRUE(store.Remove("Data/kept.png", false));
    EXPECT_EQ(nullptr, store.Find("Data/kept.png", true));
    delete kept;

    SDL_SemPost(gate);
    ASSERT_TRUE(ProcessUntil(store, [&] { return loading->IsReady(); }));
    EXPECT_TRUE(store.Remove("Data/loading.png", true));
    SDL_DestroySemaphore(gate);
}

TEST_F(DataStoreTest, DescriptorFilesAndInlineDefinitionsAreReadOnce)
{
    const TempDirectory directory;
    WriteTextFile("Data/Textures/a.XML",
                  "<Other/>\n<Fake file=\"../Images/a.png\"><one/><Unknown/><Two/></Fake>");
    FakeResource* resource = AddFake(store, "Data/Textures/a.XML");
    store.SetDefinition(*resource, *ParseElement("<resource><three/></resource>"));

    EXPECT_EQ("Unknown XML tag 'Unknown', in file 'Data/Textures/a.XML' line 2\n",
              OutputOf([&] { resource->ReadDefinition("Fake", true); }));
    EXPECT_EQ((std::vector<std::string>{"one", "two", "three"}), resource->tags);
    // The redirect is appended to the descriptor's directory as written.
    EXPECT_EQ("Data/Textures/../Images/a.png", resource->GetPath());

    store.SetDefinition(*resource, *ParseElement("<resource><four/></resource>"));
    EXPECT_EQ("", OutputOf([&] { resource->ReadDefinition("Fake", true); }));
    EXPECT_EQ(3u, resource->tags.size());

    // Without redirect the descriptor names no file and the path stays.
    WriteTextFile("Data/cube.xml", "<Fake><face/></Fake>");
    FakeResource* cube = AddFake(store, "Data/cube.xml");
    cube->ReadDefinition("Fake", false);
    EXPECT_EQ((std::vector<std::string>{"face"}), cube->tags);
    EXPECT_EQ("Data/cube.xml", cube->GetPath());

    // Any other extension is the data file itself.
    FakeResource* image = AddFake(store, "Data/a.png");
    store.SetDefinition(*image, *ParseElement("<resource><five/></resource>"));
    image->ReadDefinition("Fake", true);
    EXPECT_EQ((std::vector<std::string>{"five"}), image->tags);
    EXPECT_EQ("Data/a.png", image->GetPath());
}

TEST_F(DataStoreTest, BadDescriptorFilesNameTheFile)
{
    const TempDirectory directory;
    WriteTextFile("Data/root.xml", "<Texture file=\"a.png\"/>");
    WriteTextFile("Data/nofile.xml", "<Fake>\n<one/></Fake>");
    WriteTextFile("Data/broken.xml", "<Fake><one></Fake>");
    WriteTextFile("Data/late.xml", "<Fake file=\"a.png\"><fails/></Fake>");
    WriteTextFile("Data/outside.xml", "<Fake file=\"../../a.png\"/>");
    const struct
    {
        const char* path;
        std::string error;
    } cases[] = {
        {"Data/none.xml", "Error while reading file: 'Data/none.xml'\n"
                          "Can't open file 'Data/none.xml'"},
        {"Data/root.xml", "Error while reading file: 'Data/root.xml'\n"
                          "Can't find root element 'Fake' in:\nData/root.xml, line 1"},
        {"Data/nofile.xml", "Error while reading file: 'Data/nofile.xml'\n"
                            "Missing attribute 'file' in:\nData/nofile.xml, line 1"},
        {"Data/broken.xml", "Error while reading file: 'Data/broken.xml'\n"
                            "XML parsing error 'Error reading end tag.' in:\n"
                            "Data/broken.xml, line 1"},
        // A failure after the redirect names the redirected file.
        {"Data/late.xml", "Error while reading file: 'Data/a.png'\nBad element 'fails'"},
        {"Data/outside.xml", "Error while reading file: 'Data/outside.xml'\n"
                             "The path 'Data/../../a.png' leads out of the data folder in:\n"
                             "Data/outside.xml, line 1"},
    };
    for (const auto& c : cases)
    {
        FakeResource* resource = AddFake(store, c.path);
        EXPECT_EQ(c.error, ErrorOf([&] { resource->ReadDefinition("Fake", true); })) << c.path;
        EXPECT_TRUE(resource->tags.empty()) << c.path;
    }
}

TEST_F(DataStoreTest, AQueuedResourceKeepsItsDefinition)
{
    FakeResource* resource = AddFake(store, "Data/a.png");
    resource->gate = SDL_CreateSemaphore(0);
    store.SetDefinition(*resource, *ParseElement("<resource><first/></resource>"));
    store.SetDefinition(*resource, *ParseElement("<resource><second/></resource>"));
    store.GetResource("Data/a.png", true);
    store.SetDefinition(*resource, *ParseElement("<resource><third/></resource>"));
    SDL_SemPost(resource->gate);
    ASSERT_TRUE(ProcessUntil(store, [&] { return resource->IsReady(); }));
    EXPECT_EQ((std::vector<std::string>{"second"}), resource->tags);
    SDL_DestroySemaphore(resource->gate);
}
