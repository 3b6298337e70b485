// The sound output on winmm's waveOut: a few buffers queued on the device, refilled
// from the mixer by a thread of ours each time the device hands one back.
#include <windows.h>

#include <mmsystem.h>

#include <atomic>
#include <thread>
#include <vector>

#include "Mixer.h"
#include "SoundOutput.h"

namespace {

// Four buffers of 512 frames: about 46 ms queued at 44.1 kHz, enough to ride out a busy frame.
const int BUFFER_COUNT = 4;
const int BUFFER_FRAMES = 512;

struct WaveOutDevice {
    HWAVEOUT handle = nullptr;
    HANDLE bufferDone = nullptr;  // signalled by the device whenever it finishes a buffer
    WAVEHDR headers[BUFFER_COUNT] = {};
    std::vector<int16_t> samples[BUFFER_COUNT];
    std::atomic<bool> stopping{false};
    std::thread refill;
};

WaveOutDevice* s_device = nullptr;

void Refill(WaveOutDevice* device, Mixer* mixer)
{
    while (!device->stopping.load()) {
        for (WAVEHDR& header : device->headers) {
            if ((header.dwFlags & WHDR_INQUEUE) != 0) continue;
            mixer->Mix(reinterpret_cast<int16_t*>(header.lpData), BUFFER_FRAMES);
            waveOutWrite(device->handle, &header, sizeof(header));
        }
        WaitForSingleObject(device->bufferDone, INFINITE);
    }
}

std::string ErrorText(MMRESULT result)
{
    char text[MAXERRORLENGTH] = "";
    if (waveOutGetErrorTextA(result, text, sizeof(text)) != MMSYSERR_NOERROR) return "waveOut error";
    return text;
}

}  // namespace

bool SoundOutputOpen(Mixer& mixer, int mixRate, std::string* reason)
{
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = static_cast<DWORD>(mixRate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;

    WaveOutDevice* device = new WaveOutDevice;
    device->bufferDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    // The wave mapper converts to whatever the hardware takes, so the mixer keeps mixRate.
    const MMRESULT result = waveOutOpen(&device->handle, WAVE_MAPPER, &format,
                                        reinterpret_cast<DWORD_PTR>(device->bufferDone), 0, CALLBACK_EVENT);
    if (device->bufferDone == nullptr || result != MMSYSERR_NOERROR) {
        *reason = device->bufferDone == nullptr ? "CreateEvent failed" : ErrorText(result);
        if (device->bufferDone != nullptr) CloseHandle(device->bufferDone);
        delete device;
        return false;
    }
    mixer.SetOutputRate(mixRate);
    for (int i = 0; i < BUFFER_COUNT; ++i) {
        device->samples[i].assign(2 * BUFFER_FRAMES, 0);
        WAVEHDR& header = device->headers[i];
        header.lpData = reinterpret_cast<LPSTR>(device->samples[i].data());
        header.dwBufferLength = static_cast<DWORD>(device->samples[i].size() * sizeof(int16_t));
        waveOutPrepareHeader(device->handle, &header, sizeof(header));
    }
    device->refill = std::thread(Refill, device, &mixer);
    s_device = device;
    return true;
}

void SoundOutputClose()
{
    WaveOutDevice* device = s_device;
    if (device == nullptr) return;
    device->stopping.store(true);
    SetEvent(device->bufferDone);
    device->refill.join();
    // Hands every queued buffer back at once, so each can be unprepared.
    waveOutReset(device->handle);
    for (WAVEHDR& header : device->headers) waveOutUnprepareHeader(device->handle, &header, sizeof(header));
    waveOutClose(device->handle);
    CloseHandle(device->bufferDone);
    delete device;
    s_device = nullptr;
}

void SoundOutputNote(const std::string& line)
{
    OutputDebugStringA(line.c_str());
}
