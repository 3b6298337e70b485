// Every shot recorded in data/maps/solutions.txt, played through the real executable by script
// at its frame time (the fixed-step clock, headless): from the title, map by map in the game's
// own order, each map completed by its shot, and after map12 map01 again, completed once more.
// The flight of each shot is worked out beforehand with the game's physics to know when to look:
// the frame that takes the last collectible still shows the field, the one after that the
// map-complete picture, so the executable must agree with the physics to the frame.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ShotFlight.h"
#include "Solutions.h"
#include "TestSupport.h"

namespace {

const int32_t DEFAULT_ANGLE = 315, DEFAULT_POWER = 50;
const int VK_NEXT_KEY = 0x4E;  // 'N': nothing in aiming or flight, the next map on the map-complete screen

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    const uint8_t* At(int x, int y) const { return &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
};

bool ReadPng(const std::string& path, Picture& picture)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    const bool rgb = png_get_color_type(png, info) == PNG_COLOR_TYPE_RGB && png_get_bit_depth(png, info) == 8;
    picture.width = int(png_get_image_width(png, info));
    picture.height = int(png_get_image_height(png, info));
    png_bytepp rows = png_get_rows(png, info);
    picture.rgb.clear();
    for (int y = 0; rgb && y < picture.height; ++y)
        picture.rgb.insert(picture.rgb.end(), rows[y], rows[y] + picture.width * 3);
    png_destroy_read_struct(&png, &info, nullptr);
    fclose(file);
    return rgb;
}

// The map-complete screen: its 1024 x 512 picture centred at (640, 480 +- 8) on black, so the
// panel's strip and the bands above and below it are black, and the heading is bright.
bool ShowsMapComplete(const Picture& p)
{
    int bright = 0;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const uint8_t* c = p.At(x, y);
            const bool outside = x >= 1160 || y < 210 || y >= 750;
            if (outside && (c[0] | c[1] | c[2])) return false;
            bright += !outside && c[0] > 200 && c[1] > 120;
        }
    }
    return bright > 2000;
}

// Play: the panel beside the field, which is nowhere black.
bool ShowsPlay(const Picture& p)
{
    int black = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 1160; x < p.width; ++x) black += !(p.At(x, y)[0] | p.At(x, y)[1] | p.At(x, y)[2]);
    return black < 100;
}

// The game's maps from map01 on, as its rule of the next map walks them.
std::vector<std::string> MapSequence()
{
    std::vector<std::string> names;
    for (int n = 1; n < 100; ++n) {
        char name[16];
        snprintf(name, sizeof(name), "map%02d", n);
        if (!std::filesystem::is_regular_file(std::string("data/maps/") + name + ".map")) break;
        names.push_back(name);
    }
    return names;
}

struct Visit {
    std::string map;
    std::string pictures;  // the start of its screenshots' names
    int flightFrames = 0;
    int beforeFrame = 0, afterFrame = 0;  // the last picture of the field and the first of map complete
};

// Writes the key presses that take the panel from (angle, power) to the shot, one step a frame:
// each press is let go and pressed again in the next frame, so every press is a fresh one.
int AimTo(std::ostream& script, int frame, int32_t& angle, int32_t& power, const Shot& shot)
{
    const int right = (shot.angle - angle + 361) % 361, left = (angle - shot.angle + 361) % 361;
    const int angleKey = right <= left ? 0x27 : 0x25, angleSteps = std::min(right, left);
    const int powerKey = shot.power >= power ? 0x26 : 0x28, powerSteps = std::abs(shot.power - power);
    for (int i = 0; i <= std::max(angleSteps, powerSteps); ++i) {
        for (const auto& [key, steps] : {std::pair<int, int>{angleKey, angleSteps}, {powerKey, powerSteps}}) {
            if (i > 0 && i <= steps) script << "frame " << frame + i << " key up " << key << "\n";
            if (i < steps) script << "frame " << frame + i << " key down " << key << "\n";
        }
    }
    angle = shot.angle;
    power = shot.power;
    return frame + std::max(angleSteps, powerSteps) + 1;
}

class LevelReplay : public testing::TestWithParam<double> {};

TEST_P(LevelReplay, EveryRecordedShotCompletesItsMapInTheGameAndMap12LeadsBackToMap01)
{
    const double step = GetParam();
    std::vector<RecordedSolution> recorded;
    std::string error;
    ASSERT_TRUE(ReadSolutions("data/maps/solutions.txt", recorded, error)) << error;
    std::map<std::string, Shot> shots;
    for (const RecordedSolution& solution : recorded)
        if (solution.frameSeconds == step) shots[solution.map] = solution.shot;

    std::vector<std::string> sequence = MapSequence();
    ASSERT_EQ(sequence.size(), 12u);
    sequence.push_back("map01");  // the game's rule after the last map

    TestFolder folder;
    std::ostringstream script;
    int frame = int(0.6 / step) + 2;  // the title takes keys after half a second
    script << "frame " << frame << " key down 0x41\nframe " << frame + 1 << " key up 0x41\n";
    frame += 2;
    int32_t angle = DEFAULT_ANGLE, power = DEFAULT_POWER;
    std::vector<Visit> visits;
    for (const std::string& name : sequence) {
        SCOPED_TRACE(name);
        ASSERT_EQ(shots.count(name), 1u) << "no shot recorded for " << name << " at step " << StepText(step);
        const Shot shot = shots[name];
        const ShotOutcome outcome = ShotFlight(name).Fly(shot.angle, shot.power, step);
        ASSERT_EQ(outcome.end, FlightEnd::WON) << "angle " << shot.angle << " power " << shot.power;

        frame = AimTo(script, frame, angle, power, shot);
        // Space in frame S: the ball flies from frame S + 1 and takes the last collectible in
        // frame S + k; frame S + k + 1 sees the map complete but still draws the field.
        const int space = frame;
        const std::string pictures = folder.PathOf(std::to_string(visits.size()) + "-" + name);
        Visit visit{name, pictures, outcome.frames, space + outcome.frames + 1, space + outcome.frames + 2};
        script << "frame " << space << " key down 0x20\nframe " << space + 1 << " key up 0x20\n";
        script << "frame " << visit.beforeFrame << " screenshot " << pictures << "-field.png\n";
        script << "frame " << visit.afterFrame << " screenshot " << pictures << "-complete.png\n";
        script << "frame " << visit.afterFrame << " key down " << VK_NEXT_KEY << "\n";
        script << "frame " << visit.afterFrame + 1 << " key up " << VK_NEXT_KEY << "\n";
        frame = visit.afterFrame + 2;
        visits.push_back(visit);
    }
    script << "frame " << frame << " close\n";
    const std::string scriptPath = folder.Write("replay.script", script.str());

    const std::string command = "PINWHIRL_SCRIPT=" + scriptPath + " PINWHIRL_FIXED_STEP=" + StepText(step) +
                                " SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy timeout 600 " PINWHIRL_EXE " 2> " +
                                folder.PathOf("log");
    ASSERT_EQ(std::system(command.c_str()), 0) << "the game ended badly; its log is " << folder.PathOf("log");

    for (const Visit& visit : visits) {
        SCOPED_TRACE(visit.map + " (" + std::to_string(visit.flightFrames) + " frames of flight)");
        Picture field, complete;
        ASSERT_TRUE(ReadPng(visit.pictures + "-field.png", field));
        ASSERT_TRUE(ReadPng(visit.pictures + "-complete.png", complete));
        EXPECT_TRUE(ShowsPlay(field)) << "frame " << visit.beforeFrame << " should still show the field";
        EXPECT_FALSE(ShowsMapComplete(field));
        EXPECT_TRUE(ShowsMapComplete(complete)) << "frame " << visit.afterFrame << " should show map complete";
        EXPECT_FALSE(ShowsPlay(complete));
    }
}

// The first map asks for nothing but the shot the panel starts with.
TEST(LevelPack, Map01IsWonByThePlainShotAtEveryFrameTime)
{
    ShotFlight map01("map01");
    for (double step : {0.005, 0.01, 1.0 / 60.0})
        EXPECT_EQ(map01.Fly(DEFAULT_ANGLE, DEFAULT_POWER, step).end, FlightEnd::WON) << StepText(step);
}

INSTANTIATE_TEST_SUITE_P(FrameTimes, LevelReplay, testing::Values(0.005, 0.01, 1.0 / 60.0),
                         [](const testing::TestParamInfo<double>& info) {
                             return std::string("Step") + std::to_string(int(1.0 / info.param + 0.5)) + "Hz";
                         });

}  // namespace
