// Reading a timer's data port from synthesized line-in samples: the two packet
// lengths, either way up, both sample rates, levels from a whisper to full scale,
// noise, mains hum, a coupling capacitor and a timer's clock a few per cent off; and
// the faults a solve meets: a lost packet, a damaged one, the cable pulled mid-solve.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "stackmat/decoder.h"
#include "stackmat/packet.h"
#include "stackmat/sample_format.h"
#include "stackmat/signal_generator.h"

namespace tw::stackmat {
namespace {

constexpr std::int64_t kSolveMs = 2345;

// What the decoder made of some samples, fed in pieces of a sound card's size.
struct Heard {
  std::vector<Packet> packets;
  LineState state;
};

Heard Decode(Decoder& decoder, const std::vector<float>& samples, std::size_t piece = 441) {
  Heard heard{{}, LineState::kNoSignal};
  for (std::size_t at = 0; at < samples.size(); at += piece) {
    decoder.Feed(samples.data() + at, std::min(piece, samples.size() - at));
    for (const Packet& packet : decoder.TakePackets()) heard.packets.push_back(packet);
  }
  heard.state = decoder.State();
  return heard;
}

Heard Decode(int rate, const std::vector<float>& samples) {
  Decoder decoder(rate);
  return Decode(decoder, samples);
}

std::vector<float> Render(const LineShape& shape, const std::vector<Packet>& packets) {
  SignalGenerator generator(shape);
  generator.AddRest(0.05);
  for (const Packet& packet : packets) generator.AddPacket(packet);
  return generator.Take();
}

std::size_t Count(const std::vector<Packet>& packets, Status status) {
  return static_cast<std::size_t>(
      std::count_if(packets.begin(), packets.end(), [&](const Packet& p) { return p.status == status; }));
}

// Every packet heard was sent, in the order sent; the run was followed to its end.
void ExpectFollowed(const std::vector<Packet>& sent, const std::vector<Packet>& heard, const std::string& name,
                    std::size_t runningLost = 3) {
  ASSERT_FALSE(heard.empty()) << name;
  auto from = sent.begin();
  for (const Packet& packet : heard) {
    from = std::find(from, sent.end(), packet);
    ASSERT_NE(from, sent.end()) << name << ": heard a packet not sent, or out of order: " << FormatPacket(packet);
  }
  EXPECT_EQ(heard.back(), sent.back()) << name;
  // The start costs one packet (two must agree); noise may cost a few more.
  EXPECT_GE(Count(heard, Status::kRunning) + runningLost, Count(sent, Status::kRunning)) << name;
}

TEST(StackmatPacket, ReadsWhatATimerWritesAndNothingElse) {
  EXPECT_EQ(FormatPacket({Status::kStopped, 12345, true}), std::string("S012345O\n\r"));
  EXPECT_EQ(FormatPacket({Status::kRunning, 72349, false}), std::string(" 11234K\n\r"));
  for (const Packet& packet : {Packet{Status::kIdle, 0, true}, Packet{Status::kStopped, 9 * 60000 + 59999, true},
                               Packet{Status::kLeft, 1230, false}, Packet{Status::kReady, 0, false}}) {
    EXPECT_EQ(ParsePacket(FormatPacket(packet)), packet) << FormatPacket(packet);
  }
  for (const char* broken : {"S012345P\n\r", "X012345O\n\r", "S072345U\n\r", "S01234aO\n\r", "S012345O\r\n",
                             "S012345O\n", "S0123456P\n\r"}) {
    EXPECT_FALSE(ParsePacket(broken)) << broken;
  }
}

TEST(StackmatDecoder, ReadsASolveWhateverTheLineDoesToIt) {
  struct Case {
    const char* name;
    int rate;
    bool thousandths;
    double amplitude;
    bool inverted = false;
    double clock = 1.0;
    double noise = 0;  // rms, a share of the amplitude
    double hum = 0;    // 50 Hz, a share of the amplitude
    double highPassHertz = 0;
    bool int16Stereo = false;  // the timer on the left channel only, through 16-bit frames
  };
  const Case cases[] = {
      {"ten-byte packets at 48 kHz", 48000, true, 0.5},
      {"nine-byte packets at 44.1 kHz", 44100, false, 0.5},
      {"upside down, ten bytes, 44.1 kHz", 44100, true, 0.5, true},
      {"upside down, nine bytes, 48 kHz", 48000, false, 0.5, true},
      {"full scale", 48000, true, 1.0},
      {"2 % of full scale through 16 bits", 44100, true, 0.02, false, 1.0, 0, 0, 0, true},
      {"white noise at a fifth of the level", 48000, true, 0.3, false, 1.0, 0.2},
      {"white noise on a 2 % line", 44100, false, 0.02, true, 1.0, 0.1},
      {"50 Hz hum twice the signal", 48000, true, 0.2, false, 1.0, 0, 2.0},
      {"clock 2 % fast", 44100, true, 0.5, false, 1.02},
      {"clock 2 % slow", 48000, false, 0.5, true, 0.98},
      // Past what a timer's clock should be off: each edge re-times the bits after it.
      {"clock 5 % fast", 48000, false, 0.5, true, 1.05},
      {"clock 5 % slow", 44100, true, 0.5, false, 0.95},
      {"a coupling capacitor's droop", 48000, true, 0.5, false, 1.0, 0, 0, 5},
      {"everything at once", 44100, true, 0.05, true, 0.98, 0.1, 1.0, 5, true},
  };
  for (const Case& c : cases) {
    const std::vector<Packet> sent = SolveSession(kSolveMs, c.thousandths);
    std::vector<float> samples = Render({c.rate, c.amplitude, c.inverted, c.clock}, sent);
    if (c.highPassHertz > 0) HighPass(samples, c.rate, c.highPassHertz);
    if (c.hum > 0) AddHum(samples, c.rate, 50, c.hum * c.amplitude);
    if (c.noise > 0) AddWhiteNoise(samples, c.noise * c.amplitude, 7);
    if (c.int16Stereo) {
      std::vector<std::int16_t> frames;
      for (const float sample : samples) {
        frames.push_back(static_cast<std::int16_t>(std::clamp(sample, -1.0F, 1.0F) * 32767));
        frames.push_back(0);
      }
      samples.clear();
      AppendMono({SampleFormat::kInt16, 2}, frames.data(), frames.size() / 2, samples);
    }
    const Heard heard = Decode(c.rate, samples);
    ExpectFollowed(sent, heard.packets, c.name);
    EXPECT_EQ(heard.state, LineState::kReading) << c.name;
  }
}

TEST(StackmatDecoder, ALostPacketCostsNothingButItself) {
  const LineShape shape;
  const std::vector<Packet> sent = SolveSession(kSolveMs, true);
  const auto lost = static_cast<std::size_t>(std::find(sent.begin(), sent.end(), Packet{Status::kRunning, 1000, true}) -
                                             sent.begin() + 1);
  ASSERT_LT(lost, sent.size());
  SignalGenerator generator(shape);
  for (std::size_t i = 0; i < sent.size(); ++i) i == lost ? generator.AddRestSlot() : generator.AddPacket(sent[i]);
  const Heard heard = Decode(shape.sampleRate, generator.Take());
  ExpectFollowed(sent, heard.packets, "a lost packet");
  EXPECT_EQ(std::count(heard.packets.begin(), heard.packets.end(), sent[lost]), 0);
  // The packet after the gap agrees with the one before it: the time moved on by two slots.
  EXPECT_EQ(std::count(heard.packets.begin(), heard.packets.end(), sent[lost + 1]), 1);
}

TEST(StackmatDecoder, ADamagedPacketIsNeverShown) {
  const LineShape shape{44100};
  const std::vector<Packet> sent = SolveSession(kSolveMs, true);
  const auto at = [&](const Packet& packet) {
    return static_cast<std::size_t>(std::find(sent.begin(), sent.end(), packet) - sent.begin());
  };
  const std::size_t badChecksum = at({Status::kRunning, 1000, true});
  // Two digits moved so that their sum, and so the checksum, stays: only agreement catches it.
  const std::size_t swapped = at({Status::kRunning, 1444, true});
  const std::size_t swappedStop = at({Status::kStopped, kSolveMs, true}) + 1;
  ASSERT_LT(swappedStop, sent.size() - 1);
  SignalGenerator generator(shape);
  for (std::size_t i = 0; i < sent.size(); ++i) {
    std::string bytes = FormatPacket(sent[i]);
    if (i == badChecksum) bytes[7] ^= 0x01;
    if (i == swapped) bytes = FormatPacket({Status::kRunning, 1534, true});  // 1.444 -> 1.534
    if (i == swappedStop) bytes = FormatPacket({Status::kStopped, 2354, true});
    generator.AddBytes(bytes);
  }
  const Heard heard = Decode(shape.sampleRate, generator.Take());
  // Lost: the first running packet, the two damaged ones and the one after the moved
  // digits, which agrees with nothing before it.
  ExpectFollowed(sent, heard.packets, "damaged packets", 4);
  const auto heardCount = [&](const Packet& packet) {
    return std::count(heard.packets.begin(), heard.packets.end(), packet);
  };
  EXPECT_EQ(heardCount(sent[badChecksum]), 0);
  EXPECT_EQ(heardCount(sent[badChecksum + 1]), 1);
  EXPECT_EQ(heardCount(sent[swapped]), 0);
  EXPECT_EQ(heardCount({Status::kRunning, 1534, true}), 0);
  EXPECT_EQ(heardCount({Status::kStopped, 2354, true}), 0);
  // Of the four stopped packets, the damaged second leaves only the fourth agreeing with one before it.
  EXPECT_EQ(heardCount(sent[swappedStop]), 1);
}

TEST(StackmatDecoder, TheCablePulledMidSolveIsNoSignalUntilItIsBack) {
  const LineShape shape{44100, 0.3, true};
  const std::vector<Packet> sent = SolveSession(kSolveMs, true);
  const std::size_t pulled = static_cast<std::size_t>(
      std::find(sent.begin(), sent.end(), Packet{Status::kRunning, 555, true}) - sent.begin());
  const std::size_t back = static_cast<std::size_t>(
      std::find(sent.begin(), sent.end(), Packet{Status::kRunning, 1666, true}) - sent.begin());
  ASSERT_LT(back, sent.size());
  Decoder decoder(shape.sampleRate);
  SignalGenerator generator(shape);
  for (std::size_t i = 0; i < pulled; ++i) generator.AddPacket(sent[i]);
  Heard before = Decode(decoder, generator.Take());
  EXPECT_EQ(before.state, LineState::kReading);
  for (std::size_t i = pulled; i < back; ++i) generator.AddRestSlot();
  const Heard out = Decode(decoder, generator.Take());
  EXPECT_EQ(out.state, LineState::kNoSignal);
  EXPECT_TRUE(out.packets.empty());
  for (std::size_t i = back; i < sent.size(); ++i) generator.AddPacket(sent[i]);
  const Heard after = Decode(decoder, generator.Take());
  EXPECT_EQ(after.state, LineState::kReading);
  ASSERT_FALSE(after.packets.empty());
  EXPECT_EQ(after.packets.front().status, Status::kRunning);
  EXPECT_GE(after.packets.front().ms, 1666);
  EXPECT_EQ(after.packets.back(), sent.back());
}

TEST(StackmatDecoder, TellsAFlatLineFromOneItCannotRead) {
  constexpr int kRate = 48000;
  Decoder decoder(kRate);
  EXPECT_EQ(decoder.State(), LineState::kNoSignal);
  // A line-in with nothing plugged in: a little noise, far below any timer.
  std::vector<float> quiet(kRate, 0.0F);
  AddWhiteNoise(quiet, 0.0001, 1);
  EXPECT_EQ(Decode(decoder, quiet).state, LineState::kNoSignal);
  // Loud noise, or a timer's signal through a filter that rounds its edges away.
  std::vector<float> noise(kRate, 0.0F);
  AddWhiteNoise(noise, 0.05, 2);
  const Heard noisy = Decode(decoder, noise);
  EXPECT_EQ(noisy.state, LineState::kUnreadable);
  EXPECT_TRUE(noisy.packets.empty());
  std::vector<float> muffled = Render({kRate, 0.5}, SolveSession(kSolveMs, true));
  // Two first-order low-passes at about 80 Hz, as a noise suppressor might leave it.
  for (int pass = 0; pass < 2; ++pass) {
    float previous = 0;
    for (float& sample : muffled) sample = previous = previous + 0.01F * (sample - previous);
  }
  const Heard unread = Decode(decoder, muffled);
  EXPECT_EQ(unread.state, LineState::kUnreadable);
  EXPECT_TRUE(unread.packets.empty());
  // The timer read, then switched off.
  EXPECT_EQ(Decode(decoder, Render({kRate, 0.5}, SolveSession(kSolveMs, true))).state, LineState::kReading);
  EXPECT_EQ(Decode(decoder, std::vector<float>(kRate / 2 + 100, 0.0F)).state, LineState::kNoSignal);
}

}  // namespace
}  // namespace tw::stackmat
