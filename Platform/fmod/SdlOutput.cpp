// The sound output on SDL2 audio.
#include <SDL.h>

#include <cstdio>

#include "Mixer.h"
#include "SoundOutput.h"

namespace {

const Uint16 DEVICE_BUFFER_FRAMES = 512;  // about 12 ms at 44.1 kHz: short enough for effects

SDL_AudioDeviceID s_device = 0;

void SDLCALL AudioCallback(void* userData, Uint8* stream, int length)
{
    static_cast<Mixer*>(userData)->Mix(reinterpret_cast<int16_t*>(stream), length / 4);
}

}  // namespace

bool SoundOutputOpen(Mixer& mixer, int mixRate, std::string* reason)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        *reason = SDL_GetError();
        return false;
    }
    SDL_AudioSpec wanted;
    SDL_zero(wanted);
    wanted.freq = mixRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = DEVICE_BUFFER_FRAMES;
    wanted.callback = AudioCallback;
    wanted.userdata = &mixer;
    SDL_AudioSpec obtained;
    // SDL converts format and channel count; a different rate we mix at directly.
    s_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (s_device == 0) {
        *reason = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    mixer.SetOutputRate(obtained.freq);
    SDL_PauseAudioDevice(s_device, 0);
    return true;
}

void SoundOutputClose()
{
    if (s_device == 0) return;
    // Returns once the callback has finished its last buffer.
    SDL_CloseAudioDevice(s_device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    s_device = 0;
}

void SoundOutputNote(const std::string& line)
{
    fputs(line.c_str(), stderr);
    fflush(stderr);
}
