// The .map format: reading, the exact written form, round trips and safe saving.
#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Game/MapArea.h"
#include "Game/SafeSave.h"
#include "TestSupport.h"

namespace {

const char* EMPTY_MAP_TEXT = "Vertexes\n{\n}\n\nLinedefs\n{\n}\n\nObjects\n{\n}\n\n";

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::string G(double value)
{
    char text[64];
    snprintf(text, sizeof(text), "%g", value);
    return text;
}

class MapFileTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return _folder.PathOf(name); }
    std::string Write(const std::string& name, const std::string& text) const { return _folder.Write(name, text); }
    std::string Saved(const MapArea& map) const
    {
        std::string path = Path("saved.map");
        EXPECT_TRUE(map.Save(path));
        return ReadFile(path);
    }
    TestFolder _folder;
};

// A map whose text is far longer than LimitFileSizeToFourKilobytes lets a file grow.
void AddVertexesPastFourKilobytes(MapArea& map)
{
    for (int i = 0; i < 3000; ++i) map.AddVertex(Vec2f(static_cast<float>(i), 0.5f), true);
}

// For the rest of the (child) process, a write that takes a file past 4 KB fails part way.
void LimitFileSizeToFourKilobytes()
{
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit;
    limit.rlim_cur = limit.rlim_max = 4096;
    setrlimit(RLIMIT_FSIZE, &limit);
}

// Death tests of a load: the report names the file and quotes its line.
void ExpectLoadFails(const std::string& path, const std::string& reportRegex)
{
    EXPECT_EXIT(
        {
            MapArea map;
            map.Load(path);
        },
        ::testing::ExitedWithCode(1), reportRegex);
}

}  // namespace

// ---------------------------------------------------------------------------
// Reading

TEST_F(MapFileTest, AnEmptyMapReadsAndWritesAsNineLines)
{
    MapArea map;
    EXPECT_TRUE(map.Load(Write("empty.map", "Vertexes { } Linedefs { } Objects { }")));
    EXPECT_TRUE(map.GetVertexes().empty());
    EXPECT_TRUE(map.GetLinedefs().empty());
    EXPECT_TRUE(map.GetObjects().empty());
    EXPECT_EQ(Saved(map), EMPTY_MAP_TEXT);
    EXPECT_EQ(Saved(MapArea()), EMPTY_MAP_TEXT);
}

TEST_F(MapFileTest, ReadsCommentsAnyCaseCrLfAndEitherPointForm)
{
    std::string text =
        "// a map\r\nVERTEXES /* three */ {\r\n (3, 4)\r\n 3, 4 // same\r\n(-1.5,.25)\r\n}\r\n"
        "linedefs{0,1 2 , 0 { \"Bounce\" \"2\" }}\r\n"
        "Objects { 1,2 { \"k\" \"v\" \"K\" \"w\" \"a\" \"1\" } (5,6) } anything after this is never read {";
    MapArea map;
    map.Load(Write("mixed.map", text));
    std::vector<Vertex*> v(map.GetVertexes().begin(), map.GetVertexes().end());
    std::vector<Linedef*> l(map.GetLinedefs().begin(), map.GetLinedefs().end());
    ASSERT_EQ(v.size(), 3u);
    ASSERT_EQ(l.size(), 2u);
    ASSERT_EQ(map.GetObjects().size(), 2u);
    EXPECT_EQ(v[0]->position, Vec2f(3.0f, 4.0f));
    EXPECT_EQ(v[1]->position, Vec2f(3.0f, 4.0f));
    EXPECT_EQ(v[2]->position, Vec2f(-1.5f, 0.25f));
    EXPECT_TRUE(l[0]->start == v[0] && l[0]->end == v[1] && l[1]->start == v[2] && l[1]->end == v[0]);
    EXPECT_EQ(l[0]->properties.Count(), 0);
    std::string value;
    EXPECT_TRUE(l[1]->properties.Get("bounce", value) && value == "2");

    // A key given twice: the later value, the first spelling.
    const MapObject* o = map.GetObjects().front();
    EXPECT_EQ(o->position, Vec2f(1.0f, 2.0f));
    std::vector<std::pair<std::string, std::string>> pairs(o->properties.begin(), o->properties.end());
    EXPECT_EQ(pairs, (std::vector<std::pair<std::string, std::string>>{{"a", "1"}, {"k", "w"}}));
    EXPECT_EQ(map.GetObjects().back()->properties.Count(), 0);
}

TEST_F(MapFileTest, LoadingTwiceAddsASecondCopyLinkedToItsOwnVertexes)
{
    std::string path = Write("pair.map", "Vertexes { (0,0) (1,0) } Linedefs { 0, 1 1, 1 } Objects { (2,2) }");
    MapArea map;
    map.Load(path);
    map.Load(path);
    ASSERT_EQ(map.GetVertexes().size(), 4u);
    ASSERT_EQ(map.GetLinedefs().size(), 4u);
    EXPECT_EQ(map.GetObjects().size(), 2u);
    std::vector<Linedef*> l(map.GetLinedefs().begin(), map.GetLinedefs().end());
    EXPECT_EQ(l[2]->start, map.VertexByIndex(2));
    EXPECT_EQ(l[2]->end, map.VertexByIndex(3));
    EXPECT_EQ(l[3]->start, map.VertexByIndex(3));
    EXPECT_EQ(map.VertexByIndex(2)->linedefs.size(), 1u);
    EXPECT_EQ(map.VertexByIndex(0)->linedefs.size(), 1u);
}

TEST_F(MapFileTest, MalformedFilesAreSyntaxErrorsWithTheirLine)
{
    struct Case {
        const char* text;
        int line;
        const char* error;
        const char* at;
        const char* lineWas;
    } cases[] = {
        {"Vertexes {\n (3, 4\n}", 3, "couldn't find expected ' ) ' character", "}", "}"},
        {"Vertexes { (0,0) (1,1) }\nLinedefs {\n 0, 1 { }\n} Objects { }", 3, "couldn't find expected ' \" ' character",
         "}", " 0, 1 { }"},
        {"Vertexes { }\nObjects { }", 2, "couldn't find expected token-word \"Linedefs\"", "Objects { }",
         "Objects { }"},
        {"Vertexes { } Linedefs { } Objects {\n (1,1) { \"k\" \"v\" \"lonely\" }\n}", 2,
         "couldn't find expected ' \" ' character", "}", " (1,1) { \"k\" \"v\" \"lonely\" }"},
        {"Vertexes { } Linedefs { } Objects { (1,1)", 1, "couldn't find expected floating point expression", "",
         "Vertexes { } Linedefs { } Objects { (1,1)"},
        {"Vertexes { } Linedefs { } Objects {\n (1,1) { \"k\" \"split\nvalue\" } }", 2,
         "illegal EOL found inside quoted string", "", " (1,1) { \"k\" \"split"},
        {"Vertexes { 1e6, 2 }", 1, "couldn't find expected ' , ' character", "e6, 2 }", "Vertexes { 1e6, 2 }"},
    };
    for (const Case& c : cases) {
        std::string path = Write("bad.map", c.text);
        ExpectLoadFails(path, Literal("Syntax error on line " + std::to_string(c.line) + " of buffer \"" + path +
                                      "\":\n\nERROR: " + c.error + "\n\nOCCURRED AT: \"" + c.at + "\"\n\nLINE WAS: \"" +
                                      c.lineWas + "\"\n"));
    }
}

TEST_F(MapFileTest, AVertexNumberThatNamesNoVertexOfTheFileIsASyntaxError)
{
    std::string path =
        Write("range.map", "Vertexes { (0,0) (1,1) }\nLinedefs {\n  0, 1\n  1, 2 // no third\n}\nObjects { }");
    ExpectLoadFails(path,
                    Literal("Syntax error on line 4 of buffer \"" + path +
                            "\":\n\nERROR: linedef vertex number 2 names no vertex of this file (it has 2, numbered "
                            "from 0)\n\nOCCURRED AT: \" \"\n\nLINE WAS: \"  1, 2 \"\n"));

    std::string negative = Write("negative.map", "Vertexes { (0,0) }\nLinedefs { -1, 0 } Objects { }");
    ExpectLoadFails(negative,
                    Literal("ERROR: linedef vertex number -1 names no vertex of this file (it has 1, numbered from 0)"
                            "\n\nOCCURRED AT: \", 0 } Objects { }\"\n\nLINE WAS: \"Linedefs { -1, 0 } Objects { }\""));

    // Numbers count within the file: -1 must not reach the vertexes an earlier load left.
    std::string good = Write("good.map", "Vertexes { (0,0) (1,1) } Linedefs { } Objects { }");
    EXPECT_EXIT(
        {
            MapArea map;
            map.Load(good);
            map.Load(negative);
        },
        ::testing::ExitedWithCode(1), "linedef vertex number -1 names no vertex of this file");
}

TEST_F(MapFileTest, AMissingFileIsTheParseFileAssertion)
{
    std::string path = Path("absent.map");
    ExpectLoadFails(
        path, Literal("Expression was: ( _fileHandle )\n\n   ParseFile::_OpenFileByName() : could not open file \"" +
                      path + "\" for reading\n"));
}

// ---------------------------------------------------------------------------
// Writing

TEST_F(MapFileTest, WritesTheExactFormInListAndKeyOrder)
{
    MapArea map;
    Vertex* a = map.AddVertex(Vec2f(1.5f, -2.0f), true);
    Vertex* b = map.AddVertex(Vec2f(0.0f, 100.0f), true);
    Vertex* c = map.AddVertex(Vec2f(123.456f, 0.1f), true);
    map.AddLinedef(a, b);
    Linedef* ca = map.AddLinedef(c, a);
    for (const char* key : {"b", "A", "_x"}) ca->properties.Set(key, std::string(key) + " v");
    MapObject* o = map.AddObject(Vec2f(3.0f, 4.0f));
    o->properties.Set("SPRITE", "star");
    o->properties.Set("Sprite", "gem");
    map.AddObject(Vec2f(-5.0f, 6.25f));
    map.RemoveVertex(b);  // numbers follow the list as it is now
    map.AddLinedef(c, c);

    EXPECT_EQ(Saved(map),
              "Vertexes\n{\n\t(1.5, -2)\n\t(123.456, 0.1)\n}\n\n"
              "Linedefs\n{\n\t1, 0\n\t{\n\t\t\"_x\" \"_x v\"\n\t\t\"A\" \"A v\"\n\t\t\"b\" \"b v\"\n\t}\n\t1, 1\n}\n\n"
              "Objects\n{\n\t(3, 4)\n\t{\n\t\t\"SPRITE\" \"gem\"\n\t}\n\t(-5, 6.25)\n}\n\n");
}

TEST_F(MapFileTest, CoordinatesThatGWouldWriteWithAnExponentAreWrittenInPlainDecimal)
{
    struct Case {
        float value;
        std::string written;
    } cases[] = {
        {0.00001f, "0.00001"},
        {1.5e-5f, "0.000015"},
        {-2.5e-7f, "-0.00000025"},
        {0.0001f, "0.0001"},  // "%g" has no exponent here: unchanged
        {999999.0f, "999999"},
        {1e6f, "1000000"},
        {999999.6f, "1000000"},   // rounds up into the exponent range
        {1234567.0f, "1234570"},  // the six digits "%g" keeps
        {-3.25e12f, "-3250000000000"},
        {FLT_MAX, "340282" + std::string(33, '0')},
        {1e-30f, "0." + std::string(29, '0') + "1"},
        {1.401298e-45f, "0." + std::string(44, '0') + "14013"},
        {123.456f, "123.456"},
        {0.0f, "0"},
        {-0.0f, "-0"},
    };
    MapArea map;
    for (const Case& c : cases) map.AddVertex(Vec2f(c.value, 1.0f), true);
    std::string expected = "Vertexes\n{\n";
    for (const Case& c : cases) expected += "\t(" + c.written + ", 1)\n";
    expected += "}\n\nLinedefs\n{\n}\n\nObjects\n{\n}\n\n";
    EXPECT_EQ(Saved(map), expected);

    // Read back, each is the value the "%g" text stands for.
    MapArea loaded;
    loaded.Load(Path("saved.map"));
    ASSERT_EQ(loaded.GetVertexes().size(), sizeof(cases) / sizeof(cases[0]));
    int i = 0;
    for (const Vertex* v : loaded.GetVertexes()) {
        float meant = static_cast<float>(strtod(G(cases[i].value).c_str(), nullptr));
        EXPECT_EQ(v->position.x, meant) << "value " << G(cases[i].value);
        ++i;
    }
}

TEST_F(MapFileTest, MapsByNameAndFlipYWhichMirrorsOnReadingOnly)
{
    std::error_code made;
    std::filesystem::create_directories(Path("data/maps"), made);
    ASSERT_FALSE(made) << made.message();
    Write("data/maps/level.map",
          "Vertexes { (10, 100) (1,1) } Linedefs { 0,1 } Objects { (1, 1024) { \"BALLSPAWN\" \"1\" } }");
    Write("data/maps/two.map", "Vertexes { (5,5) } Linedefs { } Objects { (0,0) }");
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof(previous)), nullptr);
    ASSERT_EQ(chdir(_folder.Path().c_str()), 0);
    {
        MapArea game("level", true);
        EXPECT_EQ(game.GetName(), "level");
        EXPECT_EQ(game.GetVertexes().front()->position, Vec2f(10.0f, 924.0f));
        EXPECT_EQ(game.GetObjects().front()->position, Vec2f(1.0f, 0.0f));
        EXPECT_TRUE(game.SaveMapByName("mirrored"));

        MapArea editor;
        EXPECT_EQ(editor.GetName(), "");
        editor.LoadMapByName("level");
        EXPECT_EQ(editor.GetVertexes().front()->position, Vec2f(10.0f, 100.0f));
        editor.Select(editor.AddObject(Vec2f(0.0f, 0.0f)));
        editor.Highlight(editor.GetVertexes().front());
        editor.LoadMapByName("two");  // replaces everything, selection and highlights too
        EXPECT_EQ(editor.GetName(), "two");
        EXPECT_EQ(editor.GetVertexes().size(), 1u);
        EXPECT_TRUE(editor.GetLinedefs().empty());
        EXPECT_EQ(editor.GetObjects().size(), 1u);
        EXPECT_TRUE(editor.GetSelection().empty() && editor.GetHighlighted().empty());
    }
    std::string mirrored = ReadFile("data/maps/mirrored.map");
    EXPECT_EQ(chdir(previous), 0);
    EXPECT_NE(mirrored.find("\t(10, 924)\n"), std::string::npos) << mirrored;
}

// ---------------------------------------------------------------------------
// Round trips

namespace {

// Coordinates that "%g" writes without loss: up to six significant digits.
float ExactCoordinate(std::mt19937& random)
{
    std::uniform_int_distribution<int> kind(0, 9);
    if (kind(random) < 8) {
        std::uniform_int_distribution<int> quarters(-8000, 8000);
        return static_cast<float>(quarters(random)) / 4.0f;
    }
    static const int exponents[] = {-30, -12, -7, -5, 6, 7, 15, 37};
    std::uniform_int_distribution<int> digits(100000, 999999);
    std::uniform_int_distribution<int> pick(0, 7);
    char text[64];
    snprintf(text, sizeof(text), "%s%d.%05de%d", (digits(random) & 1) ? "-" : "", digits(random) / 100000,
             digits(random) % 100000, exponents[pick(random)]);
    return static_cast<float>(strtod(text, nullptr));
}

std::string RandomText(std::mt19937& random)
{
    // No quote, line break or comment opener: what the format can carry.
    static const char alphabet[] = "abcXYZ_ 09.-/*\\{}(),";
    std::uniform_int_distribution<int> length(0, 12);
    std::uniform_int_distribution<int> pick(0, sizeof(alphabet) - 2);
    std::string s;
    for (int n = length(random); n > 0; --n) {
        char c = alphabet[pick(random)];
        if (c == '/' && !s.empty() && s.back() == '/') continue;
        if (c == '*' && !s.empty() && s.back() == '/') continue;
        s += c;
    }
    return s;
}

void FillProperties(std::mt19937& random, PropertyMap& properties)
{
    std::uniform_int_distribution<int> count(0, 4);
    for (int n = count(random); n > 0; --n) properties.Set(RandomText(random), RandomText(random));
}

void ExpectSameMaps(const MapArea& a, const MapArea& b)
{
    ASSERT_EQ(a.GetVertexes().size(), b.GetVertexes().size());
    ASSERT_EQ(a.GetLinedefs().size(), b.GetLinedefs().size());
    ASSERT_EQ(a.GetObjects().size(), b.GetObjects().size());
    auto va = a.GetVertexes().begin();
    for (const Vertex* v : b.GetVertexes()) {
        EXPECT_EQ((*va)->position, v->position);
        EXPECT_EQ((*va)->linedefs.size(), v->linedefs.size());
        ++va;
    }
    auto la = a.GetLinedefs().begin();
    for (const Linedef* l : b.GetLinedefs()) {
        EXPECT_EQ(a.IndexOfVertex((*la)->start), b.IndexOfVertex(l->start));
        EXPECT_EQ(a.IndexOfVertex((*la)->end), b.IndexOfVertex(l->end));
        EXPECT_TRUE((*la)->properties == l->properties);
        ++la;
    }
    auto oa = a.GetObjects().begin();
    for (const MapObject* o : b.GetObjects()) {
        EXPECT_EQ((*oa)->position, o->position);
        EXPECT_TRUE((*oa)->properties == o->properties);
        ++oa;
    }
}

}  // namespace

TEST_F(MapFileTest, RandomMapsComeBackTheSame)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 random(seed);
        MapArea map;
        std::uniform_int_distribution<int> size(0, 40);
        int vertexCount = size(random);
        for (int i = 0; i < vertexCount; ++i)
            map.AddVertex(Vec2f(ExactCoordinate(random), ExactCoordinate(random)), true);
        if (vertexCount > 0) {
            std::uniform_int_distribution<int> vertex(0, vertexCount - 1);
            for (int i = size(random); i > 0; --i) {
                Linedef* l = map.AddLinedef(map.VertexByIndex(vertex(random)), map.VertexByIndex(vertex(random)));
                FillProperties(random, l->properties);
            }
        }
        for (int i = size(random) / 2; i > 0; --i) {
            MapObject* o = map.AddObject(Vec2f(ExactCoordinate(random), ExactCoordinate(random)));
            FillProperties(random, o->properties);
        }

        std::string path = Path("random.map");
        ASSERT_TRUE(map.Save(path));
        std::string text = ReadFile(path);
        MapArea loaded;
        loaded.Load(path);
        SCOPED_TRACE("seed " + std::to_string(seed));
        ExpectSameMaps(map, loaded);
        ASSERT_TRUE(loaded.Save(path));
        EXPECT_EQ(ReadFile(path), text);
    }
}

// ---------------------------------------------------------------------------
// Saving safely

TEST_F(MapFileTest, ASaveThatFailsHalfWayLeavesTheOldFile)
{
    std::string path = Write("keep.map", EMPTY_MAP_TEXT);
    // In a child process: limit the file size so the write breaks off part way. The
    // limit also stops the child's stderr (a file), so the verdict is the exit code.
    EXPECT_EXIT(
        {
            MapArea map;
            AddVertexesPastFourKilobytes(map);
            LimitFileSizeToFourKilobytes();
            bool saved = map.Save(path);
            bool kept = ReadFile(path) == EMPTY_MAP_TEXT;
            bool cleaned = !Exists(path + ".tmp");
            _exit((saved ? 1 : 0) | (kept ? 0 : 2) | (cleaned ? 0 : 4));
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadFile(path), EMPTY_MAP_TEXT);

    // Without the limit a save goes through; where nothing can be written it fails.
    MapArea map;
    map.AddVertex(Vec2f(7.0f, 8.0f), true);
    EXPECT_TRUE(map.Save(path));
    EXPECT_NE(ReadFile(path).find("\t(7, 8)\n"), std::string::npos);
    EXPECT_FALSE(Exists(path + ".tmp"));
    EXPECT_FALSE(map.Save(Path("no/such/dir/x.map")));
    EXPECT_FALSE(map.Save(_folder.Path()));  // a directory is not replaced
    EXPECT_FALSE(Exists(_folder.Path() + ".tmp"));
}

TEST_F(MapFileTest, AReadOnlyMapIsNotReplaced)
{
    if (geteuid() == 0) GTEST_SKIP() << "root may write to read-only files";
    std::string path = Write("locked.map", EMPTY_MAP_TEXT);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    MapArea map;
    map.AddVertex(Vec2f(1.0f, 1.0f), true);
    EXPECT_FALSE(map.Save(path));
    EXPECT_EQ(ReadFile(path), EMPTY_MAP_TEXT);
}

TEST_F(MapFileTest, ASaveGoesThroughLinksKeepsModeAndHardLinksAndLeavesOtherTemporaryFilesAlone)
{
    MapArea map;
    map.AddVertex(Vec2f(7.0f, 8.0f), true);
    const std::string saved = "\t(7, 8)\n";
    ASSERT_EQ(mkdir(Path("real").c_str(), 0755), 0);
    std::string target = Write("real/target.map", EMPTY_MAP_TEXT);
    ASSERT_EQ(symlink("real/target.map", Path("link.map").c_str()), 0);  // relative, and a chain of two
    ASSERT_EQ(symlink(Path("link.map").c_str(), Path("chain.map").c_str()), 0);
    ASSERT_TRUE(map.Save(Path("chain.map")));
    struct stat st;
    ASSERT_EQ(lstat(Path("chain.map").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(lstat(Path("link.map").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_NE(ReadFile(target).find(saved), std::string::npos);
    EXPECT_FALSE(Exists(target + ".tmp"));

    // A link to nothing yet makes the file it names.
    ASSERT_EQ(symlink("fresh.map", Path("new.map").c_str()), 0);
    ASSERT_TRUE(map.Save(Path("new.map")));
    EXPECT_NE(ReadFile(Path("fresh.map")).find(saved), std::string::npos);

    // Both names of a hard-linked map see the new text.
    std::string first = Write("first.map", EMPTY_MAP_TEXT);
    ASSERT_EQ(link(first.c_str(), Path("second.map").c_str()), 0);
    ASSERT_TRUE(map.Save(first));
    EXPECT_NE(ReadFile(Path("second.map")).find(saved), std::string::npos);
    ASSERT_EQ(stat(first.c_str(), &st), 0);
    EXPECT_EQ(st.st_nlink, 2u);

    // A temporary file already there may be all that is left of an earlier save.
    std::string kept = Write("kept.map", EMPTY_MAP_TEXT);
    Write("kept.map.tmp", "the only copy");
    ASSERT_EQ(chmod(kept.c_str(), 0640), 0);
    ASSERT_TRUE(map.Save(kept));
    EXPECT_NE(ReadFile(kept).find(saved), std::string::npos);
    ASSERT_EQ(stat(kept.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadFile(kept + ".tmp"), "the only copy");
    EXPECT_FALSE(Exists(Path("kept.map.1.tmp")));
}

namespace {

// Runs fn in a child process as an unprivileged user (root drops to "nobody") and expects it
// to exit with 0; the child's exit code carries one bit per failed check.
void ExpectAsUnprivilegedUser(const std::function<int()>& fn)
{
    EXPECT_EXIT(
        {
            if (geteuid() == 0) {
                const struct passwd* nobody = getpwnam("nobody");
                const uid_t uid = nobody != nullptr ? nobody->pw_uid : 65534;
                const gid_t gid = nobody != nullptr ? nobody->pw_gid : 65534;
                if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0) _exit(100);
            }
            if (geteuid() == 0) _exit(101);
            _exit(fn());
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace

TEST_F(MapFileTest, AsAnUnprivilegedUserAMapInAFolderOfOthersIsRewrittenInPlaceUnlessReadOnly)
{
    // A folder the user may not write to, holding one map the user may write and one not.
    ASSERT_EQ(chmod(_folder.Path().c_str(), 0711), 0);
    ASSERT_EQ(mkdir(Path("locked").c_str(), 0755), 0);
    std::string open = Write("locked/open.map", EMPTY_MAP_TEXT);
    std::string readOnly = Write("locked/readonly.map", EMPTY_MAP_TEXT);
    ASSERT_EQ(chmod(open.c_str(), 0666), 0);
    ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
    ASSERT_EQ(chmod(Path("locked").c_str(), 0555), 0);

    ExpectAsUnprivilegedUser([&] {
        MapArea map;
        map.AddVertex(Vec2f(7.0f, 8.0f), true);
        int failed = 0;
        if (!map.Save(open) || ReadFile(open).find("\t(7, 8)\n") == std::string::npos) failed |= 1;
        if (map.Save(readOnly) || ReadFile(readOnly) != EMPTY_MAP_TEXT) failed |= 2;
        if (map.Save(Path("locked/absent.map")) || Exists(Path("locked/absent.map"))) failed |= 4;

        // A rewrite in place that breaks off puts the old text back.
        const std::string before = ReadFile(open);
        MapArea big;
        AddVertexesPastFourKilobytes(big);
        LimitFileSizeToFourKilobytes();
        if (big.Save(open) || ReadFile(open) != before) failed |= 8;
        return failed;
    });
    EXPECT_EQ(ReadFile(readOnly), EMPTY_MAP_TEXT);
    EXPECT_EQ(chmod(Path("locked").c_str(), 0755), 0);  // so the folder can be removed
}

TEST_F(MapFileTest, TextTheReaderWouldCutAndLinksItCouldNotResolveAreNotSaved)
{
    const char* unstorable[] = {"a//b", "a/*b", "say \"hi\"", "two\nlines", "cr\rhere"};
    std::string path = Write("props.map", EMPTY_MAP_TEXT);
    for (const char* text : unstorable) {
        MapArea map;
        map.AddObject(Vec2f(0.0f, 0.0f))->properties.Set("key", text);
        EXPECT_FALSE(map.Save(path)) << text;
        MapArea keyed;
        keyed.AddObject(Vec2f(0.0f, 0.0f))->properties.Set(text, "value");
        EXPECT_FALSE(keyed.Save(path)) << text;
    }
    MapArea longValue;
    Vertex* v = longValue.AddVertex(Vec2f(0.0f, 0.0f), true);
    longValue.AddLinedef(v, v)->properties.Set("k", std::string(1024, 'x'));
    EXPECT_FALSE(longValue.Save(path));
    EXPECT_EQ(ReadFile(path), EMPTY_MAP_TEXT);
    EXPECT_FALSE(Exists(path + ".tmp"));

    // A linedef whose end somehow left the map would make a file that cannot load again.
    MapArea broken, other;
    Vertex* a = broken.AddVertex(Vec2f(0.0f, 0.0f), true);
    Linedef* line = broken.AddLinedef(a, broken.AddVertex(Vec2f(5.0f, 0.0f), true));
    Vertex* own = line->end;
    line->end = other.AddVertex(Vec2f(9.0f, 9.0f), true);
    EXPECT_FALSE(broken.Save(path));
    line->end = own;  // put back before the map is torn down
    EXPECT_EQ(ReadFile(path), EMPTY_MAP_TEXT);
    EXPECT_FALSE(Exists(path + ".tmp"));

    // Single slashes, stars, backslashes and 1023 characters are fine.
    MapArea fine;
    fine.AddObject(Vec2f(0.0f, 0.0f))->properties.Set("path/to*", "c:\\x/ * /" + std::string(1010, 'y'));
    EXPECT_TRUE(fine.Save(path));
    MapArea loaded;
    loaded.Load(path);
    ExpectSameMaps(fine, loaded);
}

TEST_F(MapFileTest, AFailedSaveSaysWhyAndBytesAreSavedAsTheyAre)
{
    std::string why;
    EXPECT_FALSE(SaveTextSafely(_folder.Path(), "x", why));
    EXPECT_EQ(why, "it is a folder");
    EXPECT_FALSE(SaveTextSafely(Path("no/such/x.map"), "x", why));
    EXPECT_EQ(why, "there is no folder \"" + Path("no/such") + "\"");
    const std::string bytes("a\r\nb\n\0c", 7);
    ASSERT_TRUE(SaveBytesSafely(Path("picture.tga"), bytes, why)) << why;
    EXPECT_EQ(ReadFile(Path("picture.tga")), bytes);

    ASSERT_EQ(chmod(_folder.Path().c_str(), 0711), 0);
    ASSERT_EQ(mkdir(Path("locked").c_str(), 0755), 0);
    const std::string readOnly = Write("locked/readonly.map", EMPTY_MAP_TEXT);
    ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
    ASSERT_EQ(chmod(Path("locked").c_str(), 0555), 0);
    ASSERT_EQ(mkdir(Path("open").c_str(), 0777), 0);
    ASSERT_EQ(chmod(Path("open").c_str(), 0777), 0);
    ExpectAsUnprivilegedUser([&] {
        int failed = 0;
        std::string reason;
        if (SaveTextSafely(readOnly, "x", reason) || reason != "the file is read-only") failed |= 1;
        if (SaveTextSafely(Path("locked/new.map"), "x", reason) ||
            reason != "the folder \"" + Path("locked") + "\" is read-only")
            failed |= 2;
        LimitFileSizeToFourKilobytes();
        if (SaveBytesSafely(Path("open/big.tga"), std::string(8192, 'x'), reason) || reason != strerror(EFBIG))
            failed |= 4;
        return failed;
    });
    EXPECT_EQ(chmod(Path("locked").c_str(), 0755), 0);
}
