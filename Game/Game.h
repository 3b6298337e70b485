// The game: its modes, the loaded maps and the ball, aiming and shooting, the HUD and the
// command line. One Game exists, made by the game interface's PreInit and reached through theGame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Engine/Vector.h"
#include "Game/FrameDamage.h"
#include "Game/TrailStrip.h"

class Ball;
class PlayMap;
class Sprite;
class Texture;

// The values are fixed: the start-up dialog, the editor shell and the command line set them.
enum GameMode : int32_t {
    MODE_EDIT = 0,
    MODE_AIM = 1,
    MODE_FLIGHT = 2,
    MODE_TITLE = 3,
    MODE_MAP_COMPLETE = 4,
};

enum GameSound : int32_t {
    SOUND_ITEM_COLLECTED = 0,
    SOUND_BALL_SHOT = 1,
    SOUND_BALL_BOUNCE = 2,
    SOUND_MAP_COMPLETE = 3,
};

class Game {
public:
    static constexpr int32_t NO_MAP = 0x7FFFFFFF;
    static constexpr int32_t COMMAND_LINE_SIZE = 255;
    static constexpr const char* FIRST_MAP = "map01";

    Game();
    ~Game();

    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    void SetMode(GameMode newMode);
    double GetTimeInMode() const;

    // Starts the map afresh from its file; the map played before is released.
    void SetMap(const std::string& name);
    int32_t LoadMap(const std::string& name);
    void UnloadMapByName(const std::string& name);
    bool MapFileExists(const std::string& name) const;
    static std::string BackgroundPath(const std::string& name);
    // The map's file, its background picture and its items' sprites, which starting it reads:
    // false, with a warning that names the file and the fault, when one is missing or broken,
    // or a sprite's name points outside data/sprites/.
    bool CanStartMap(const std::string& name) const;
    void AdvanceToNextMap();
    bool IsMapComplete() const;
    // The current PlayMap, or null when no map is loaded.
    PlayMap* GetCurrentMap() const;

    // The ball's two sprites are loaded by the first spawn and kept for every later ball.
    void SpawnBall(Vec2f position);
    void Shoot(int32_t shotPower, int32_t shotAngle);

    void SetCommandLineOpen(bool open);
    bool HandleCommandLineKey(uint8_t code);
    bool ExecuteCommand();
    // Stores the key's code as the next character; false, storing nothing, once the line holds
    // its 254 characters.
    bool AppendToCommandLine(uint8_t code);

    // Every game sound goes through here, and plays only while soundOn.
    void PlayEffect(GameSound sound, float volume) const;
    void PlayCollectSound();
    void PlayBounceSound(float volume);

    // The game interface's frame and input event, by mode.
    void RunFrame();
    bool HandleInputEvent(int32_t type, uint8_t code);
    // The aim and flight keys: the debug keys and the release of the aim keys in both modes,
    // then the keys of the mode.
    bool HandlePlayKey(int32_t type, uint8_t code);
    bool HandleDebugKey(int32_t type, uint8_t code);
    bool HandleAimKeyRelease(int32_t type, uint8_t code);
    bool HandleAimKey(int32_t type, uint8_t code);
    bool HandleFlightKey(int32_t type, uint8_t code);

    void UpdateAim();
    void UpdateFlight();
    void DrawPlay();
    void DrawHud();
    void DrawCommandLine();

    std::vector<Ball*> balls;
    std::vector<PlayMap*> maps;
    int32_t currentMap = NO_MAP;
    GameMode mode = MODE_TITLE;
    double modeStartTime = 0.0;
    bool commandLineOpen = false;
    char commandLineText[COMMAND_LINE_SIZE] = {};
    int32_t commandLineLength = 0;
    Texture* titleTexture = nullptr;
    Texture* panelTexture = nullptr;
    Texture* arrowTexture = nullptr;
    Texture* mapCompleteTexture = nullptr;
    Sprite* ballSprite = nullptr;
    Sprite* highlightSprite = nullptr;
    int32_t angle = 315;
    int32_t power = 50;
    int32_t powerDirection = 0;
    int32_t angleDirection = 0;
    bool angleKeyJustPressed = false;
    bool powerKeyJustPressed = false;
    bool angleKeyRepeating = false;
    bool powerKeyRepeating = false;
    double nextAngleStepTime = 0.0;
    double nextPowerStepTime = 0.0;
    Ball* lastSpawnedBall = nullptr;
    std::string currentMapName;
    bool soundOn = true;
    // The shot trail as drawn, and what the last frame showed.
    TrailStrip trailStrip;
    FrameDamage damage;
};

// Null until the game interface's PreInit.
extern Game* theGame;
