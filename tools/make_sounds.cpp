// Makes the game's sounds, synthesised: the shot (also the map-complete sound), the bounce
// and the collection chime. Mono 16-bit PCM at 44.1 kHz, each normalised to a peak below
// full scale and faded in and out so it neither clips nor clicks.
//
//   make_sounds ROOT    writes ROOT/data/sounds/ballshot.wav, ballbounce.wav, itemcollected.wav
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "assetkit/DataFiles.h"

static const int RATE = 44100;
static const double TWO_PI = 6.283185307179586;
// About -3 dB: loud enough, with room for the mixer's other voices.
static const float PEAK = 0.7f;

typedef std::vector<float> Samples;

static Samples Silence(double seconds)
{
    return Samples(size_t(seconds * RATE), 0.0f);
}

// Attack in a straight line, then an exponential decay with the time constant tau.
static double Envelope(double t, double attack, double tau)
{
    if (t < 0.0) return 0.0;
    if (t < attack) return t / attack;
    return std::exp(-(t - attack) / tau);
}

// A sine whose frequency glides exponentially from f0 to f1 over `glide` seconds, added in.
static void AddTone(Samples& out, double start, double f0, double f1, double glide, double level, double attack,
                    double tau)
{
    double phase = 0.0;
    for (size_t i = size_t(start * RATE); i < out.size(); ++i) {
        const double t = double(i) / RATE - start;
        const double k = std::min(1.0, t / glide);
        phase += TWO_PI * f0 * std::pow(f1 / f0, k) / RATE;
        out[i] += float(level * Envelope(t, attack, tau) * std::sin(phase));
    }
}

// A bell-like note: a few harmonics, the upper ones dying faster.
static void AddBell(Samples& out, double start, double frequency, double level, double tau)
{
    const double partials[][2] = {{1.0, 1.0}, {2.0, 0.35}, {3.0, 0.12}, {4.2, 0.05}};
    for (const auto& p : partials)
        AddTone(out, start, frequency * p[0], frequency * p[0], 1.0, level * p[1], 0.002, tau / p[0]);
}

// White noise through a band-pass (two one-pole filters) whose centre glides from f0 to f1, shaped
// by the envelope; the generator's own sequence, so every build gives the same samples.
static void AddNoise(Samples& out, double start, double f0, double f1, double level, double attack, double tau)
{
    uint32_t state = 0x2545F491u;
    double low = 0.0, lower = 0.0;
    const double length = double(out.size()) / RATE - start;
    for (size_t i = size_t(start * RATE); i < out.size(); ++i) {
        const double t = double(i) / RATE - start;
        state = state * 1664525u + 1013904223u;
        const double white = double(state >> 8) / 8388608.0 - 1.0;
        const double centre = f0 * std::pow(f1 / f0, t / length);
        const double a = 1.0 - std::exp(-TWO_PI * centre / RATE);
        const double b = 1.0 - std::exp(-TWO_PI * centre * 0.5 / RATE);
        low += a * (white - low);
        lower += b * (white - lower);
        out[i] += float(level * Envelope(t, attack, tau) * (low - lower) * 3.0);
    }
}

// Scales the sound to the common peak and fades its ends, so it starts and stops at silence.
static Samples Finish(Samples sound)
{
    float peak = 0.0f;
    for (float s : sound) peak = std::max(peak, std::fabs(s));
    const float scale = peak > 0.0f ? PEAK / peak : 0.0f;
    const size_t fadeIn = RATE / 1000, fadeOut = RATE / 100;
    for (size_t i = 0; i < sound.size(); ++i) {
        float gain = scale;
        if (i < fadeIn) gain *= float(i) / float(fadeIn);
        const size_t fromEnd = sound.size() - 1 - i;
        if (fromEnd < fadeOut) gain *= float(fromEnd) / float(fadeOut);
        sound[i] *= gain;
    }
    return sound;
}

// A soft thump, a short rush of air and a rising fifth: the ball leaves (and, played again, the
// map is done).
static Samples Shot()
{
    Samples s = Silence(0.42);
    AddTone(s, 0.0, 190.0, 80.0, 0.09, 1.0, 0.003, 0.05);
    AddNoise(s, 0.0, 900.0, 3500.0, 0.55, 0.05, 0.09);
    AddTone(s, 0.02, 587.3, 880.0, 0.06, 0.22, 0.004, 0.12);
    AddTone(s, 0.02, 1174.7, 1760.0, 0.06, 0.06, 0.004, 0.06);
    return Finish(s);
}

// A short wooden knock: two inharmonic partials that die within a tenth of a second.
static Samples Bounce()
{
    Samples s = Silence(0.16);
    AddTone(s, 0.0, 540.0, 500.0, 0.02, 1.0, 0.001, 0.028);
    AddTone(s, 0.0, 1380.0, 1340.0, 0.02, 0.45, 0.001, 0.012);
    AddNoise(s, 0.0, 2500.0, 2000.0, 0.35, 0.0005, 0.004);
    return Finish(s);
}

// Two bell notes a fifth apart, the second a moment later: something was collected.
static Samples Collected()
{
    Samples s = Silence(0.5);
    AddBell(s, 0.0, 1318.5, 0.8, 0.12);
    AddBell(s, 0.075, 1975.5, 0.7, 0.16);
    return Finish(s);
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: make_sounds ROOT\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/data/sounds/";
    WriteWav(folder + "ballshot.wav", Shot(), RATE);
    WriteWav(folder + "ballbounce.wav", Bounce(), RATE);
    WriteWav(folder + "itemcollected.wav", Collected(), RATE);
    return 0;
}
