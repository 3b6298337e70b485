#include "Game/Game.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "Engine/FileName.h"
#include "Engine/TheApplication.h"
#include "Engine/TheConsole.h"
#include "Engine/TheRenderer.h"
#include "Engine/TheSoundSystem.h"
#include "Engine/Texture.h"
#include "Game/Ball.h"
#include "Game/BallPhysics.h"
#include "Game/FileChecks.h"
#include "Game/FlightGlobals.h"
#include "Game/MapItem.h"
#include "Game/PlayMap.h"
#include "Game/PropertyMap.h"
#include "Game/Sprite.h"

Game* theGame = nullptr;

namespace {

// Map names compare as property keys do, ignoring ASCII case.
bool SameName(const std::string& a, const std::string& b)
{
    const PropertyKeyLess less;
    return !less(a, b) && !less(b, a);
}

// The game's ear on the physics: its lines go to the console, its sounds through the game.
class GameFlightListener : public FlightListener {
public:
    explicit GameFlightListener(Game& game) : _game(game) {}
    bool LogsLines() const override { return true; }
    void LogLine(const char* line) override { theConsole.Printf("%s", line); }
    void PlayBounceSound(float volume) override { _game.PlayBounceSound(volume); }
    void PlayCollectSound() override { _game.PlayCollectSound(); }

private:
    Game& _game;
};

}  // namespace

Game::Game() {}

Game::~Game()
{
    delete titleTexture;
    delete panelTexture;
    delete arrowTexture;
    delete mapCompleteTexture;
    for (Ball* ball : balls) delete ball;
    balls.clear();
    lastSpawnedBall = nullptr;
    // The flight record's contacts are not forgotten here: it may already be gone when the game
    // goes at the program's end.
    for (PlayMap* map : maps) delete map;
    maps.clear();
    currentMap = NO_MAP;
    // After the balls that draw from them.
    delete ballSprite;
    delete highlightSprite;
}

void Game::SetMode(GameMode newMode)
{
    mode = newMode;
    modeStartTime = theApplication.GetCurrentSeconds();
}

double Game::GetTimeInMode() const
{
    return theApplication.GetCurrentSeconds() - modeStartTime;
}

void Game::SetMap(const std::string& name)
{
    // A name that lives in a map being unloaded below must outlive it.
    const std::string mapName = name;
    for (Ball* ball : balls) delete ball;
    balls.clear();
    lastSpawnedBall = nullptr;
    if (!SameName(mapName, currentMapName)) shotTrail.clear();
    // Only the current map is played and drawn, and every start loads its map afresh: another
    // map kept loaded would only hold its pictures.
    while (!maps.empty()) {
        const std::string loaded = maps.back()->GetName();
        UnloadMapByName(loaded);
    }
    currentMap = LoadMap(mapName);
    if (&name != &currentMapName) currentMapName = mapName;
}

int32_t Game::LoadMap(const std::string& name)
{
    UnloadMapByName(name);
    PlayMap* map = new PlayMap(name, *this);
    maps.push_back(map);
    return int32_t(maps.size() - 1);
}

void Game::UnloadMapByName(const std::string& name)
{
    for (auto entry = maps.begin(); entry != maps.end(); ++entry) {
        if (!SameName((*entry)->GetName(), name)) continue;
        PlayMap* map = *entry;
        maps.erase(entry);
        // The debug overlay draws the last contact; it must not outlive its map.
        theFlightRecord.ForgetContactsIn(*map);
        delete map;
        return;
    }
}

bool Game::MapFileExists(const std::string& name) const
{
    return CanOpenFile(MapArea::MapFilePath(name));
}

std::string Game::BackgroundPath(const std::string& name)
{
    return "data/maps/" + name + ".tga";
}

bool Game::CanStartMap(const std::string& name) const
{
    // Starting the map reads its file, its background and its items' sprites, each fatal when
    // it is missing or broken: all are read aside first, so a bad one only refuses the map.
    PlayField field;
    if (!ReadMapFile(MapArea::MapFilePath(name), field)) return false;
    if (!CheckPicture(BackgroundPath(name), "background picture")) return false;
    field.MakeItems([](const Vec2f&) {});
    std::set<std::string> checked;
    for (const MapItem* item : field.items) {
        if (IsBallSpawn(item)) continue;
        const std::string sprite = SpriteName(item);
        if (!checked.insert(sprite).second) continue;
        if (!IsPlainFileName(sprite)) {
            theConsole.Printf("WARNING: map file \"%s\": the sprite \"%s\" names no file of data/sprites/\n",
                              MapArea::MapFilePath(name).c_str(), sprite.c_str());
            return false;
        }
        if (!CheckPicture(SpritePath(sprite), "sprite picture")) return false;
    }
    return true;
}

void Game::AdvanceToNextMap()
{
    const std::string name = currentMapName;
    size_t digit = 0;
    while (digit < name.size() && !isdigit(static_cast<unsigned char>(name[digit]))) ++digit;
    if (digit == name.size()) {
        SetMap(name);
        return;
    }
    // The leading digits from there on, plus one, at least two digits wide (level7 -> level08).
    const long long number = strtoll(name.c_str() + digit, nullptr, 10);
    std::string next = std::to_string(number < LLONG_MAX ? number + 1 : number);
    if (next.size() < 2) next = "0" + next;
    next = name.substr(0, digit) + next;
    // A next map that cannot be started (say one saved in the editor, with no background yet)
    // counts as missing.
    SetMap(MapFileExists(next) && CanStartMap(next) ? next : std::string(FIRST_MAP));
}

bool Game::IsMapComplete() const
{
    const PlayMap* map = GetCurrentMap();
    return map && map->collectiblesLeft == 0;
}

PlayMap* Game::GetCurrentMap() const
{
    if (currentMap < 0 || size_t(currentMap) >= maps.size()) return nullptr;
    return maps[size_t(currentMap)];
}

void Game::SpawnBall(Vec2f position)
{
    // In the order a ball takes them: the shine first.
    if (highlightSprite == nullptr) highlightSprite = new Sprite("data/sprites/ballhighlight.tga");
    if (ballSprite == nullptr) ballSprite = new Sprite("data/sprites/ball02.tga");
    Ball* ball = new Ball(*ballSprite, *highlightSprite);
    ball->position = position;
    lastSpawnedBall = ball;
    balls.push_back(ball);
}

void Game::Shoot(int32_t shotPower, int32_t shotAngle)
{
    if (!balls.empty()) balls[0]->velocity = ShotVelocity(shotPower, shotAngle);
    shotTrail.clear();
    trailTimeLeft = 45.0;
}

void Game::SetCommandLineOpen(bool open)
{
    theRenderer.SetConsoleVisible(open);
    commandLineOpen = open;
}

bool Game::AppendToCommandLine(uint8_t code)
{
    if (commandLineLength >= COMMAND_LINE_SIZE - 1) return false;
    commandLineText[commandLineLength++] = char(code);
    commandLineText[commandLineLength] = '\0';
    return true;
}

void Game::PlayEffect(GameSound sound, float volume) const
{
    if (soundOn) theSoundSystem.Play(sound, 0, FSOUND_LOOP_OFF, volume, 1.0f, 0.0f);
}

void Game::PlayCollectSound()
{
    PlayEffect(SOUND_ITEM_COLLECTED, 1.0f);
}

void Game::PlayBounceSound(float volume)
{
    // At most one bounce sound per 0.1 s: the float 0.1, widened.
    const double now = theApplication.GetCurrentSeconds();
    if (now - lastBounceSoundTime >= double(0.1f) && soundOn) {
        PlayEffect(SOUND_BALL_BOUNCE, volume);
        lastBounceSoundTime = now;
    }
}

void Game::UpdateAim()
{
    const double now = theApplication.GetCurrentSeconds();
    if (angleKeyJustPressed || now >= nextAngleStepTime) {
        angleKeyJustPressed = false;
        angle += angleDirection;
        nextAngleStepTime = now + (angleKeyRepeating ? 0.01 : 0.1);
        // 360 itself is an angle the panel can show.
        if (angle > 360) angle = 0;
        if (angle < 0) angle = 360;
    }
    if (powerKeyJustPressed || now >= nextPowerStepTime) {
        powerKeyJustPressed = false;
        power += powerDirection;
        nextPowerStepTime = now + (powerKeyRepeating ? 0.02 : 0.1);
        if (power < 0) power = 0;
        if (power > 100) power = 100;
    }
}

void Game::UpdateFlight()
{
    if (IsMapComplete()) {
        PlayEffect(SOUND_MAP_COMPLETE, 1.0f);
        SetMode(MODE_MAP_COMPLETE);
    }
    // The ball still moves in the frame that completes the map.
    PlayMap* map = GetCurrentMap();
    if (balls.empty() || !map) return;
    // Frozen after a bounce until G, R or Space clears the pending collision.
    if (debugOverlay && freezeOnCollision && collisionPending) return;
    GameFlightListener listener(*this);
    BallPhysics physics(*map, theFlightRecord, listener);
    physics.StepBall(*balls[0], theApplication.GetFrameSeconds(), theApplication.GetFrameNumber());
}
