// Map elements and their case-insensitive property maps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Game/Linedef.h"
#include "Game/MapObject.h"
#include "Game/PropertyMap.h"
#include "Game/Vertex.h"

namespace {

std::vector<std::string> Keys(const PropertyMap& map)
{
    std::vector<std::string> keys;
    for (const auto& pair : map) keys.push_back(pair.first);
    return keys;
}

}  // namespace

TEST(PropertyMap, KeysAreOneKeyWhateverTheirCaseAndKeepTheirFirstSpelling)
{
    PropertyMap map;
    map.Set("SPRITE", "ball");
    map.Set("Sprite", "star");
    EXPECT_EQ(map.Count(), 1);
    EXPECT_EQ(Keys(map), std::vector<std::string>{"SPRITE"});
    std::string value = "before";
    EXPECT_TRUE(map.Get("sPrItE", value));
    EXPECT_EQ(value, "star");

    value = "before";
    EXPECT_FALSE(map.Get("sprite ", value));
    EXPECT_EQ(value, "before");  // an absent key leaves the output alone

    map.Set("collect", "1");
    map.Remove("COLLECT");
    map.Remove("absent");
    EXPECT_EQ(Keys(map), std::vector<std::string>{"SPRITE"});
}

TEST(PropertyMap, IteratesInCaseFoldedByteOrder)
{
    PropertyMap map;
    map.Set("b", "");
    map.Set("A", "");
    map.Set("_x", "");
    EXPECT_EQ(Keys(map), (std::vector<std::string>{"_x", "A", "b"}));

    // Letters fold down to lower case, so '[' (between 'Z' and 'a') sorts before every
    // letter; bytes past 127 sort after everything ASCII, and a prefix before its extensions.
    PropertyMap more;
    for (const char* key : {"\xe9t\xe9", "[", "Zed", "ab", "A"}) more.Set(key, "");
    EXPECT_EQ(Keys(more), (std::vector<std::string>{"[", "A", "ab", "Zed", "\xe9t\xe9"}));
}

TEST(MapElements, KindsAndMovesAndALinedefMovesBothEnds)
{
    Vertex v(Vec2f(1.0f, 2.0f));
    Vertex w(Vec2f(3.0f, 4.0f));
    MapObject o(Vec2f(5.0f, 6.0f));
    Linedef l(&v, &w);
    Linedef loop(&v, &v);
    EXPECT_EQ(v.type, 1);
    EXPECT_EQ(l.type, 2);
    EXPECT_EQ(o.type, 3);

    MapElement* elements[] = {&o, &l};
    for (MapElement* e : elements) e->Move(Vec2f(0.5f, -1.0f));
    EXPECT_EQ(o.position, Vec2f(5.5f, 5.0f));
    EXPECT_EQ(v.position, Vec2f(1.5f, 1.0f));
    EXPECT_EQ(w.position, Vec2f(3.5f, 3.0f));

    loop.Move(Vec2f(1.0f, 1.0f));  // the same vertex at both ends moves twice
    EXPECT_EQ(v.position, Vec2f(3.5f, 3.0f));
}

TEST(MapElements, ConstructionAndDestructionAreTracedToTheDebuggerOnly)
{
    MapElement::traceLines = true;  // as in the program
    testing::internal::CaptureStderr();
    {
        Vertex v(Vec2f(0.0f, 0.0f));
        MapElement* o = new MapObject(Vec2f(1.0f, 1.0f));
        delete o;  // through the virtual destructor
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "MapElement() called\nMapElement() called\n~MapElement() called\n~MapElement() called\n");
    MapElement::traceLines = false;
}
