// WAV files as the sample loader reads them: the PCM variants we play and the damage we reject.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "SoundTestFiles.h"
#include "WavFile.h"
#include "fmod.h"

namespace {

int Parse(const std::vector<uint8_t>& bytes, PcmSound& out)
{
    return ParseWav(bytes.data(), bytes.size(), out);
}

}  // namespace

TEST(WavFile, ReadsEightAndSixteenBitPcmInMonoAndStereo)
{
    PcmSound sound;
    WavLayout mono16;
    mono16.rate = 22050;
    ASSERT_EQ(Parse(MakeWavBytes({0, 32767, -32768, -1}, mono16), sound), FMOD_ERR_NONE);
    EXPECT_EQ(sound.frameCount, 4u);
    EXPECT_EQ(sound.channels, 1);
    EXPECT_EQ(sound.bitsPerSample, 16);
    EXPECT_EQ(sound.frequency, 22050);
    EXPECT_EQ(sound.samples, (std::vector<float>{0.0f, 32767.0f, -32768.0f, -1.0f}));

    // Eight-bit data is unsigned around 128.
    WavLayout stereo8;
    stereo8.bits = 8;
    stereo8.channels = 2;
    stereo8.rate = 8000;
    ASSERT_EQ(Parse(MakeWavBytes({128, 0, 255, 129}, stereo8), sound), FMOD_ERR_NONE);
    EXPECT_EQ(sound.frameCount, 2u);
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.samples, (std::vector<float>{0.0f, -32768.0f, 32512.0f, 256.0f}));

    WavLayout extensible;
    extensible.extensible = true;
    extensible.channels = 2;
    ASSERT_EQ(Parse(MakeWavBytes({1, 2, 3, 4, 5, 6}, extensible), sound), FMOD_ERR_NONE);
    EXPECT_EQ(sound.frameCount, 3u);
}

TEST(WavFile, SkipsOtherChunksAndKeepsWhatATruncatedFileHolds)
{
    // An odd-sized chunk is followed by a pad byte that is not part of the next header.
    std::vector<uint8_t> list;
    PutTag(list, "LIST");
    PutU32(list, 3);
    list.insert(list.end(), {'a', 'b', 'c', 0});
    PcmSound sound;
    ASSERT_EQ(Parse(MakeWavBytes({10, 20, 30}, WavLayout(), list), sound), FMOD_ERR_NONE);
    EXPECT_EQ(sound.samples, (std::vector<float>{10.0f, 20.0f, 30.0f}));

    // A data size larger than the file (an interrupted recording): the whole frames present.
    WavLayout claimsMore;
    claimsMore.declaredDataBytes = 1000;
    std::vector<uint8_t> bytes = MakeWavBytes({1, 2, 3}, claimsMore);
    bytes.pop_back();  // half a frame
    ASSERT_EQ(Parse(bytes, sound), FMOD_ERR_NONE);
    EXPECT_EQ(sound.frameCount, 2u);
}

TEST(WavFile, TheFirstFormatChunkIsTheFormat)
{
    // A second "fmt " chunk (stereo 8-bit at 8 kHz, then one we cannot play) is skipped
    // like any other chunk: the data is mono 16-bit at 22.05 kHz as the first one says.
    WavLayout stereo8;
    stereo8.channels = 2;
    stereo8.bits = 8;
    stereo8.rate = 8000;
    WavLayout adpcm;
    adpcm.formatTag = 2;
    std::vector<uint8_t> laterChunks;
    for (const WavLayout& layout : {stereo8, adpcm}) {
        const std::vector<uint8_t> other = MakeWavBytes({}, layout);
        laterChunks.insert(laterChunks.end(), other.begin() + 12, other.begin() + 12 + 8 + 16);
    }
    WavLayout mono16;
    mono16.rate = 22050;
    PcmSound sound;
    ASSERT_EQ(Parse(MakeWavBytes({100, -200, 300, -400}, mono16, laterChunks), sound), FMOD_ERR_NONE);
    EXPECT_EQ(sound.channels, 1);
    EXPECT_EQ(sound.bitsPerSample, 16);
    EXPECT_EQ(sound.frequency, 22050);
    EXPECT_EQ(sound.samples, (std::vector<float>{100.0f, -200.0f, 300.0f, -400.0f}));
}

TEST(WavFile, RejectsWhatItCannotPlay)
{
    PcmSound sound;
    auto layoutWith = [](int bits, int channels, int rate, uint16_t tag) {
        WavLayout layout;
        layout.bits = bits;
        layout.channels = channels;
        layout.rate = rate;
        layout.formatTag = tag;
        return layout;
    };
    EXPECT_EQ(Parse(MakeWavBytes({0, 0, 0}, layoutWith(24, 1, 44100, 1)), sound), FMOD_ERR_FILE_FORMAT);
    EXPECT_EQ(Parse(MakeWavBytes({0, 0, 0}, layoutWith(16, 3, 44100, 1)), sound), FMOD_ERR_FILE_FORMAT);
    EXPECT_EQ(Parse(MakeWavBytes({0, 0, 0}, layoutWith(16, 1, 0, 1)), sound), FMOD_ERR_FILE_FORMAT);
    EXPECT_EQ(Parse(MakeWavBytes({0, 0, 0}, layoutWith(16, 1, 44100, 2)), sound), FMOD_ERR_FILE_FORMAT) << "ADPCM";
    WavLayout extensibleFloat;
    extensibleFloat.extensible = true;
    extensibleFloat.formatTag = 3;
    EXPECT_EQ(Parse(MakeWavBytes({0, 0}, extensibleFloat), sound), FMOD_ERR_FILE_FORMAT);

    const std::string text = "this is not a sound file at all";
    EXPECT_EQ(Parse(std::vector<uint8_t>(text.begin(), text.end()), sound), FMOD_ERR_FILE_FORMAT);
    EXPECT_EQ(Parse({}, sound), FMOD_ERR_FILE_FORMAT);

    // RIFF/WAVE, but damaged.
    std::vector<uint8_t> noData = MakeWavBytes({1, 2});
    noData.resize(12 + 8 + 16);
    EXPECT_EQ(Parse(noData, sound), FMOD_ERR_FILE_BAD);
    std::vector<uint8_t> cutFormat = MakeWavBytes({1, 2});
    cutFormat.resize(12 + 8 + 10);
    EXPECT_EQ(Parse(cutFormat, sound), FMOD_ERR_FILE_BAD);
}

TEST(WavFile, LoadsFromFilesWithOffsetAndLength)
{
    TestFolder dir;
    const std::vector<uint8_t> wav = MakeWavBytes({7, 8, 9});
    PcmSound sound;
    EXPECT_EQ(LoadWavFile(dir.Write("plain.wav", wav).c_str(), 0, 0, sound), FMOD_ERR_NONE);
    EXPECT_EQ(sound.frameCount, 3u);

    std::vector<uint8_t> packed(16, 0xEE);
    packed.insert(packed.end(), wav.begin(), wav.end());
    packed.insert(packed.end(), 5, 0xEE);
    const std::string packedPath = dir.Write("packed.bin", packed);
    EXPECT_EQ(LoadWavFile(packedPath.c_str(), 16, static_cast<int>(wav.size()), sound), FMOD_ERR_NONE);
    EXPECT_EQ(sound.samples, (std::vector<float>{7.0f, 8.0f, 9.0f}));
    EXPECT_EQ(LoadWavFile(packedPath.c_str(), 0, 0, sound), FMOD_ERR_FILE_FORMAT);
    EXPECT_EQ(LoadWavFile(packedPath.c_str(), -1, 0, sound), FMOD_ERR_INVALID_PARAM);

    EXPECT_EQ(LoadWavFile(dir.PathOf("missing.wav").c_str(), 0, 0, sound), FMOD_ERR_FILE_NOTFOUND);
    const std::string folder = dir.PathOf("folder.wav");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    EXPECT_EQ(LoadWavFile(folder.c_str(), 0, 0, sound), FMOD_ERR_FILE_BAD) << "a directory is not a sound";
    rmdir(folder.c_str());

    // Nor is a FIFO, which no one writes to: refused at once instead of waiting for a writer.
    alarm(20);
    const std::string fifo = dir.PathOf("fifo.wav");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(LoadWavFile(fifo.c_str(), 0, 0, sound), FMOD_ERR_FILE_BAD);
    EXPECT_EQ(LoadWavFile("/dev/zero", 0, 0, sound), FMOD_ERR_FILE_BAD) << "a device may never end";
    alarm(0);
}
