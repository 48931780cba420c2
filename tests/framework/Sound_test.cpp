#include "common/TestSupport.h"
#include "common/WaveBytes.h"

#include <framework/FolderItem.h>
#include <framework/Runtime.h>
#include <framework/Sound.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <random>

using namespace fw;
using namespace test;

namespace {

// No test of this file needs a sound device: point the sound system at a
// server that does not exist, so nothing sounds on the developer's speakers
// and no server is started on our behalf.
class SoundFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string server = "unix:" + (Home() / "no-sound-server").string();
        setenv("PULSE_SERVER", server.c_str(), 1);
    }

    Ref<Sound> Open(const std::string& name, const std::string& bytes)
    {
        WriteFile(Home() / name, bytes);
        return Open(name);
    }
    Ref<Sound> Open(const std::string& name)
    {
        item_ = New<FolderItem>((Home() / name).string());
        return item_->OpenAsSound();
    }
    int32_t LastError() const { return item_->LastErrorCode(); }

    const std::vector<double> tone_ = Sine(440, 0.05, 0.5, 8000);
    std::string Fmt16() const { return Chunk("fmt ", FormatBody(1, 1, 8000, 16)); }
    std::string Data16() const { return Chunk("data", Encode(tone_, 1, 16, 1)); }

private:
    Ref<FolderItem> item_;
};

} // namespace

TEST_F(SoundFile, EveryPlainEncodingOpens)
{
    struct Case {
        uint16_t tag, bits, channels;
    };
    for (Case c : { Case { 1, 8, 1 }, Case { 1, 16, 1 }, Case { 1, 16, 2 }, Case { 1, 24, 1 }, Case { 1, 32, 2 },
             Case { 3, 32, 1 }, Case { 3, 64, 2 }, Case { 0xFFFE, 16, 2 }, Case { 1, 16, 8 } }) {
        Ref<Sound> s = Open("tone.wav", Wave(tone_, 8000, c.tag, c.bits, c.channels));
        EXPECT_TRUE(s) << "tag " << c.tag << ", " << c.bits << " bits, " << c.channels << " channels";
        EXPECT_EQ(LastError(), 0);
    }
    std::string extensibleFloat = Chunk("fmt ", FormatBody(0xFFFE, 1, 8000, 32, 3));
    EXPECT_TRUE(Open("float.wav", Riff(extensibleFloat + Chunk("data", Encode(tone_, 3, 32, 1)))));
}

TEST_F(SoundFile, LayoutsThatWritersProduceOpen)
{
    // Other chunks first, one of odd size with its pad byte; data before fmt.
    std::string info = Chunk("LIST", "INFOISFT\x05\x00\x00\x00horo\x00");
    EXPECT_TRUE(Open("list.wav", Riff(info + Chunk("odd ", "abc") + Fmt16() + Data16())));
    EXPECT_TRUE(Open("order.wav", Riff(Data16() + Fmt16())));
    // A RIFF size that disagrees with the file.
    std::string wrongSize = Riff(Fmt16() + Data16());
    wrongSize.replace(4, 4, std::string("\xFF\xFF\xFF\xFF", 4));
    EXPECT_TRUE(Open("size.wav", wrongSize));
    // A data chunk cut short keeps its whole frames.
    std::string cut = Riff(Fmt16() + Data16());
    cut.resize(cut.size() - 101);
    EXPECT_TRUE(Open("cut.wav", cut));
}

TEST_F(SoundFile, MissingFileOrNoFileIsNil)
{
    EXPECT_FALSE(Open("absent.wav"));
    EXPECT_EQ(LastError(), ENOENT);
    EXPECT_FALSE(Open("absent-folder/tone.wav"));
    EXPECT_EQ(LastError(), ENOENT);

    std::filesystem::create_directory(Home() / "folder.wav");
    EXPECT_FALSE(Open("folder.wav"));
    EXPECT_EQ(LastError(), EINVAL);

    // A FIFO must not block the open.
    ASSERT_EQ(mkfifo((Home() / "fifo.wav").c_str(), 0600), 0);
    EXPECT_FALSE(Open("fifo.wav"));
    EXPECT_EQ(LastError(), EINVAL);
}

TEST_F(SoundFile, WhatIsNotAPlayableWaveIsNil)
{
    auto fmt = [](uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
        return Chunk("fmt ", FormatBody(tag, channels, rate, bits));
    };
    std::string data = Data16();
    std::string aiff = "FORM";
    PutLE(aiff, 4, 4);
    aiff += "AIFF";
    std::string badGuid = FormatBody(0xFFFE, 1, 8000, 16);
    badGuid[30] = 'x';
    std::string badAlign = FormatBody(1, 1, 8000, 16);
    badAlign[12] = 4;
    const std::pair<const char*, std::string> cases[] = {
        { "empty", "" },
        { "text", "hello, this is not a sound at all" },
        { "header only", "RIFF\x04\x00\x00\x00WAVE" },
        { "short header", "RIFF\x04\x00\x00\x00WAV" },
        { "not WAVE", "RIFF" + std::string("\x04\x00\x00\x00", 4) + "AVI " + fmt(1, 1, 8000, 16) + data },
        { "AIFF", aiff },
        { "no fmt", Riff(data) },
        { "no data", Riff(fmt(1, 1, 8000, 16)) },
        { "empty data", Riff(fmt(1, 1, 8000, 16) + Chunk("data", "")) },
        { "less than a frame", Riff(fmt(1, 2, 8000, 16) + Chunk("data", "abc")) },
        { "short fmt", Riff(Chunk("fmt ", std::string(14, '\x01')) + data) },
        { "ADPCM", Riff(fmt(2, 1, 8000, 4) + data) },
        { "A-law", Riff(fmt(6, 1, 8000, 8) + data) },
        { "12 bits", Riff(fmt(1, 1, 8000, 12) + data) },
        { "16-bit float", Riff(fmt(3, 1, 8000, 16) + data) },
        { "no channels", Riff(fmt(1, 0, 8000, 16) + data) },
        { "nine channels", Riff(fmt(1, 9, 8000, 16) + data) },
        { "rate 0", Riff(fmt(1, 1, 0, 16) + data) },
        { "rate too high", Riff(fmt(1, 1, 4000000, 16) + data) },
        { "bad GUID", Riff(Chunk("fmt ", badGuid) + data) },
        { "bad block align", Riff(Chunk("fmt ", badAlign) + data) },
    };
    for (const auto& [what, bytes] : cases) {
        EXPECT_FALSE(Open("bad.wav", bytes)) << what;
        EXPECT_EQ(LastError(), EINVAL) << what;
    }
}

// Damaged files never crash the reader: whatever it accepts is a sound.
TEST_F(SoundFile, DamagedFilesNeverCrash)
{
    const std::string good = Riff(Chunk("LIST", "INFOabcd") + Fmt16() + Data16());
    // RIFF header, LIST, fmt and data headers, then the first 16-bit frame.
    const size_t firstFrameEnd = 12 + 16 + 24 + 8 + 2;
    for (size_t cut = 0; cut < 120; ++cut) {
        Ref<Sound> s = Open("cut.wav", good.substr(0, cut));
        EXPECT_EQ(static_cast<bool>(s), cut >= firstFrameEnd) << "cut at " << cut;
        if (s)
            s->Play();
        else
            EXPECT_EQ(LastError(), EINVAL) << "cut at " << cut;
    }
    std::mt19937 rng(7);
    int opened = 0, refused = 0;
    for (int round = 0; round < 300; ++round) {
        std::string bytes = good;
        for (int flips = 0; flips < 4; ++flips)
            bytes[rng() % 80] = static_cast<char>(rng());
        Ref<Sound> s = Open("flipped.wav", bytes);
        if (s) {
            ++opened;
            s->Play();
        } else {
            ++refused;
            EXPECT_EQ(LastError(), EINVAL) << "round " << round;
        }
    }
    // Both ways out are taken: the damage reaches the checks and past them.
    EXPECT_GT(opened, 0);
    EXPECT_GT(refused, 0);
}

TEST_F(SoundFile, VolumeIsKeptAsGivenAndPlayReturns)
{
    Ref<Sound> s = Open("tone.wav", Wave(tone_, 8000));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Volume(), 100);
    for (int32_t v : { 0, 25, 100, 150, -5, INT32_MIN, INT32_MAX }) {
        s->Volume(v);
        s->Play();
        s->Play();
        EXPECT_EQ(s->Volume(), v);
    }
}

TEST_F(SoundFile, FileChangedAfterOpeningDoesNotChangeTheSound)
{
    Ref<Sound> s = Open("tone.wav", Wave(tone_, 8000));
    ASSERT_TRUE(s);
    WriteFile(Home() / "tone.wav", "damaged");
    std::filesystem::remove(Home() / "tone.wav");
    s->Play(); // plays what was read
}

TEST_F(SoundFile, ASoundWithoutSamplesIsSilentAndKeepsItsVolume)
{
    auto s = New<Sound>();
    s->Volume(40);
    s->Play();
    EXPECT_EQ(s->Volume(), 40);
    EXPECT_EQ(s->ClassInfo().Name, "Sound");
    Beep();
}

TEST_F(SoundFile, ASoundMayOutliveTheRuntime)
{
    Ref<Sound> s = Open("tone.wav", Wave(tone_, 8000));
    ASSERT_TRUE(s);
    s->Play();
    RuntimeExit();
    ASSERT_FALSE(RuntimeIsInitialized());
    // Without the toolkit it plays nothing and goes without reaching into it.
    s->Volume(30);
    s->Play();
    EXPECT_EQ(s->Volume(), 30);
    s = nullptr;
}
