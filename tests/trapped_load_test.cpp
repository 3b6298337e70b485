// Loads cut short by a trapped fatal report: nothing they opened or made outlives them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Engine/AssertionFailure.h"
#include "Engine/Image.h"
#include "Engine/ParseFile.h"
#include "Game/MapArea.h"
#include "Game/MapElement.h"
#include "TestSupport.h"

namespace {

size_t OpenFiles()
{
    size_t count = 0;
    for (auto entry = std::filesystem::directory_iterator("/proc/self/fd");
         entry != std::filesystem::directory_iterator(); ++entry)
        ++count;
    return count;
}

size_t Count(const std::string& text, const std::string& what)
{
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++count;
    return count;
}

}  // namespace

// Each failure comes after the file was opened (and, for the map, after elements were made);
// the leak checks of the sanitizer build watch the memory, the count here the files.
TEST(TrappedLoad, ClosesItsFileAndDestroysWhatItMade)
{
    TestFolder folder;
    const std::string shortPicture =
        folder.Write("short.tga", std::string("\0\0\2\0\0\0\0\0\0\0\0\0\10\0\10\0\30\0xyz", 21));
    const std::string badHeader = folder.Write("rle.tga", std::string("\0\0\12\0\0\0\0\0\0\0\0\0\10\0\10\0\30\0", 18));
    std::filesystem::create_directories(folder.PathOf("data/maps"));
    folder.Write("data/maps/half.map", "Vertexes { (1, 2) (3, 4) } Linedefs { 0, 1 { \"k\" } } Objects { }");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());

    const size_t before = OpenFiles();
    TrappedReport report;
    EXPECT_FALSE(TrapFatalReports([&] { Image image(shortPicture); }, report));
    EXPECT_EQ(report.expression, "bytesRead == pixelBytes");
    EXPECT_FALSE(TrapFatalReports([&] { Image image(badHeader); }, report));
    EXPECT_FALSE(TrapFatalReports([&] { ParseFile file(folder.Path().c_str()); }, report)) << "a folder has no size";
    bool loaded = true;
    MapElement::traceLines = true;  // the elements are counted by their trace
    const std::string trace =
        CaptureDebugOutput([&] { loaded = TrapFatalReports([] { MapArea map("half", true); }, report); });
    MapElement::traceLines = false;
    EXPECT_FALSE(loaded);
    EXPECT_NE(report.message.find("Syntax error"), std::string::npos) << report.message;
    EXPECT_EQ(OpenFiles(), before);
    // The two vertexes and the linedef made before the error go on the way out.
    EXPECT_EQ(Count(trace, "~MapElement() called"), 3u) << trace;
    EXPECT_EQ(Count(trace, "MapElement() called"), 6u) << "made and destroyed";

    std::filesystem::current_path(previous);
}
