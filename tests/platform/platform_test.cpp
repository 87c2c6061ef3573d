#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/qtdispatch.h"
#include "platform/qtsettings.h"
#include "platform/rtmidierror.h"
#include "platform/settings.h"
#include "platform/uidispatch.h"
#include "platform/virtualmidi.h"

namespace {

constexpr int perThread = 2000;

TEST(ManualDispatcher, RunsEveryPostInOrderPerThread) {
  QZP::CManualDispatcher dispatcher;
  std::vector<int> seen; // only the running thread touches it
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < perThread; ++i)
        dispatcher.Post([&seen, t, i] { seen.push_back(t * perThread + i); });
    });
  EXPECT_TRUE(dispatcher.RunUntil([&] { return seen.size() == 3u * perThread; }, 10000));
  for (std::thread& thread : threads)
    thread.join();
  dispatcher.RunPending();
  ASSERT_EQ(seen.size(), 3u * perThread);
  int last[3] = {-1, -1, -1};
  for (int value : seen) {
    int t = value / perThread;
    ASSERT_GT(value, last[t]);
    last[t] = value;
  }
  // A task may post; what it posts runs in the same pass. Waiting with nothing posted returns.
  int ran = 0;
  dispatcher.Post([&] { dispatcher.Post([&] { ++ran; }); });
  EXPECT_EQ(dispatcher.RunPending(), 2);
  EXPECT_EQ(ran, 1);
  dispatcher.ProcessPending(5);
  // Tasks never run are dropped with the dispatcher.
  dispatcher.Post([] {});
}

TEST(Settings, MissingAndMalformedValuesReadAsTheDefault) {
  QZP::CMemorySettings memory;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QZP::CQtSettings ini((dir.path() + "/settings.ini").toStdString());
  for (QZP::ISettingsStore* store : std::initializer_list<QZP::ISettingsStore*>{&memory, &ini}) {
    EXPECT_EQ(store->ReadString("MIDIInConnection", "MIDIInDevice0", "(none)"), "(none)");
    EXPECT_EQ(store->ReadInt("MIDIInConnection", "MIDIInDeviceId0", 7), 7);
    store->WriteString("MIDIInConnection", "MIDIInDevice0", "Loop A");
    store->WriteInt("MIDIInConnection", "MIDIInDeviceId0", 16);
    store->WriteString("MIDIOutConnection", "MIDIOutDeviceId0", "sixteen");
    store->WriteString("MIDIOutConnection", "MIDIOutDeviceId1", "99999999999");
    EXPECT_EQ(store->ReadString("MIDIInConnection", "MIDIInDevice0", "(none)"), "Loop A");
    EXPECT_EQ(store->ReadInt("MIDIInConnection", "MIDIInDeviceId0", 0), 16);
    EXPECT_EQ(store->ReadString("MIDIInConnection", "MIDIInDeviceId0", ""), "16");
    EXPECT_EQ(store->ReadInt("MIDIOutConnection", "MIDIOutDeviceId0", 3), 3);
    EXPECT_EQ(store->ReadInt("MIDIOutConnection", "MIDIOutDeviceId1", 3), 3);
    // Sections keep names apart.
    EXPECT_EQ(store->ReadString("MIDIOutConnection", "MIDIInDevice0", "(none)"), "(none)");
  }
  ini.Sync();
  QZP::CQtSettings reread((dir.path() + "/settings.ini").toStdString());
  EXPECT_EQ(reread.ReadInt("MIDIInConnection", "MIDIInDeviceId0", 0), 16);
}

// The windows' view of the same file: a hand-edited unquoted list reads back whole, in either form;
// integer lists stop at the first bad field; Qt's own blobs come back as written.
TEST(Settings, ListsIntegersAndBlobsAsTheWindowsReadThem) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = (dir.path() + "/settings.ini").toStdString();
  {
    FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("[Window]\nPosition=10,20,300,400\nChild0=5,x,7\n[MIDIInConnection]\nMIDIInDevice0=Port, with comma\n", file);
    std::fclose(file);
  }
  QZP::CQtSettings settings(path);
  EXPECT_EQ(settings.String(QStringLiteral("Window"), QStringLiteral("Position")), QStringLiteral("10,20,300,400"));
  EXPECT_EQ(settings.ReadString("MIDIInConnection", "MIDIInDevice0", ""), "Port,with comma");
  EXPECT_TRUE(settings.String(QStringLiteral("Window"), QStringLiteral("Missing")).isNull());
  int values[4] = {-1, -1, -1, -1};
  EXPECT_EQ(settings.Integers(QStringLiteral("Window"), QStringLiteral("Position"), values, 4), 4);
  EXPECT_EQ(values[3], 400);
  int partial[3] = {1, 2, 3};
  EXPECT_EQ(settings.Integers(QStringLiteral("Window"), QStringLiteral("Child0"), partial, 3), 1);
  EXPECT_EQ(partial[0], 5);
  EXPECT_EQ(partial[1], 2); // left as it was
  const int widths[3] = {40, 150, 60};
  settings.SetIntegers(QStringLiteral("PatchListCtrl"), QStringLiteral("ColumnWidth"), widths, 3);
  EXPECT_EQ(settings.ReadString("PatchListCtrl", "ColumnWidth", ""), "40,150,60");
  const QByteArray blob("\x00\x01\xff state", 9);
  settings.SetBytes(QStringLiteral("ControlBar"), QStringLiteral("State"), blob);
  settings.Sync();
  EXPECT_EQ(QZP::CQtSettings(path).Bytes(QStringLiteral("ControlBar"), QStringLiteral("State")), blob);
}

TEST(QtDispatcher, PostsFromAnotherThreadRunOnTheEventLoopThread) {
  int argc = 1;
  char name[] = "platform_tests";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  QZP::CQtUiDispatcher dispatcher(&app);
  const std::thread::id uiThread = std::this_thread::get_id();
  std::vector<int> seen;
  std::atomic<bool> wrongThread{false};
  std::thread poster([&] {
    for (int i = 0; i < 100; ++i)
      dispatcher.Post([&, i] {
        if (std::this_thread::get_id() != uiThread)
          wrongThread = true;
        seen.push_back(i);
      });
  });
  poster.join();
  for (int round = 0; round < 200 && seen.size() < 100; ++round)
    dispatcher.ProcessPending(20);
  ASSERT_EQ(seen.size(), 100u);
  EXPECT_FALSE(wrongThread);
  for (int i = 0; i < 100; ++i)
    EXPECT_EQ(seen[i], i);
}

struct CCollector : QZP::IMidiInputCallback {
  void MidiInputShort(std::uint32_t packed) override { shorts.push_back(packed); }
  void MidiInputLong(const std::uint8_t* bytes, std::size_t count) override {
    longs.emplace_back(bytes, bytes + count);
  }
  std::vector<std::uint32_t> shorts;
  std::vector<std::vector<std::uint8_t>> longs;
};

TEST(VirtualPorts, LoopbackDeliversOnlyWhileStarted) {
  QZP::CVirtualMidiBackend backend;
  EXPECT_TRUE(backend.AddLoopback("Loop"));
  EXPECT_FALSE(backend.AddLoopback("Loop"));
  CCollector collector;
  auto in = backend.OpenInput(0, &collector);
  auto out = backend.OpenOutput(0);
  ASSERT_TRUE(in && out);
  const std::uint8_t note[] = {0x90, 0x3C, 0x64};
  const std::uint8_t sysex[] = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
  EXPECT_TRUE(out->Send(note, 3)); // not started: lost
  EXPECT_TRUE(in->Start());
  EXPECT_TRUE(out->Send(note, 3));
  EXPECT_TRUE(out->Send(sysex, sizeof sysex));
  EXPECT_FALSE(out->Send(note, 0));
  EXPECT_TRUE(in->Stop());
  EXPECT_FALSE(backend.ToProgram("Loop", note, 3));
  EXPECT_EQ(collector.shorts, (std::vector<std::uint32_t>{0x643C90}));
  ASSERT_EQ(collector.longs.size(), 1u);
  EXPECT_EQ(collector.longs[0], std::vector<std::uint8_t>(sysex, sysex + sizeof sysex));
  EXPECT_EQ(backend.OpenInput(0, &collector), nullptr); // still open
  EXPECT_TRUE(in->Close());
  EXPECT_NE(backend.OpenInput(0, &collector), nullptr);
  EXPECT_EQ(backend.OpenOutput(1), nullptr);
  EXPECT_EQ(backend.ErrorText(), "The MIDI output port does not exist.");
}

} // namespace

namespace {

TEST(RtMidiErrorSink, AWarningDuringASendIsAFailedSend) {
  // ALSA's failed send and JACK's full buffer are warnings: the message is lost all the same.
  QZP::CRtMidiErrorSink sink;
  QZP::CRtMidiErrorSink::Callback(RtMidiError::DEBUG_WARNING, "noise", &sink);
  EXPECT_FALSE(sink.SendFailed());
  EXPECT_TRUE(sink.text.empty());
  QZP::CRtMidiErrorSink::Callback(RtMidiError::WARNING, "error sending MIDI message to port.", &sink);
  EXPECT_TRUE(sink.SendFailed());
  EXPECT_FALSE(sink.failed);
  EXPECT_EQ(sink.text, "error sending MIDI message to port.");
  sink.Clear();
  EXPECT_FALSE(sink.SendFailed());
  QZP::CRtMidiErrorSink::Callback(RtMidiError::DRIVER_ERROR, "gone", &sink);
  EXPECT_TRUE(sink.SendFailed());
  EXPECT_TRUE(sink.failed);
}

} // namespace
